#include "core/fen.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <sstream>

namespace tandemora {

std::string toFen(const Board& board) {
    std::string fen;
    for (int rank = 7; rank >= 0; --rank) {
        int empty = 0;
        for (int file = 0; file < 8; ++file) {
            char c = board.at(file, rank);
            if (c == ' ') {
                ++empty;
                continue;
            }
            if (empty) fen += static_cast<char>('0' + empty);
            empty = 0;
            fen += c;
            if (board.promoted[squareIndex(file, rank)]) fen += '~';
        }
        if (empty) fen += static_cast<char>('0' + empty);
        if (rank > 0) fen += '/';
    }
    fen += '[';
    static const int order[5] = {4, 1, 3, 2, 0};  // Q R B N P as piece indexes
    for (int colour = 0; colour < 2; ++colour)
        for (int index : order)
            for (int n = 0; n < board.holdings[index + colour * 5]; ++n)
                fen += static_cast<char>(pieceLetterOfIndex(index) + (colour ? 32 : 0));
    fen += "] ";
    fen += board.sideToMove ? 'w' : 'b';
    fen += ' ';
    const char rights[4] = {'K', 'Q', 'k', 'q'};
    const int slots[4] = {0, 2, 1, 3};
    size_t before = fen.size();
    for (int i = 0; i < 4; ++i)
        if (board.castling[slots[i]]) fen += rights[i];
    if (fen.size() == before) fen += '-';
    return fen;
}

bool parseFen(const std::string& text, Board& board) {
    Board parsed = Board::initial();
    std::fill(std::begin(parsed.squares), std::end(parsed.squares), ' ');
    size_t i = 0;
    for (int rank = 7; rank >= 0; --rank) {
        int file = 0;
        while (i < text.size() && text[i] != '/' && text[i] != '[' && text[i] != ' ' && file <= 8) {
            const char c = text[i++];
            if (c >= '1' && c <= '8') {
                file += c - '0';
            } else if (c == '~' && file > 0) {
                parsed.promoted[squareIndex(file - 1, rank)] = 1;
            } else if (std::strchr("PNBRQKpnbrqk", c) && file < 8) {
                parsed.squares[squareIndex(file++, rank)] = c;
            } else {
                return false;
            }
        }
        if (file != 8) return false;
        if (rank > 0 && (i >= text.size() || text[i++] != '/')) return false;
    }
    if (i < text.size() && text[i] == '[') {
        for (++i; i < text.size() && text[i] != ']'; ++i) {
            const int index = pieceIndex(text[i]);
            if (index < 0) return false;
            ++parsed.holdings[index + (isBlackPiece(text[i]) ? 5 : 0)];
        }
        if (i++ >= text.size()) return false;
    }
    std::istringstream rest(text.substr(i));
    std::string side, rights;
    rest >> side >> rights;
    if (!side.empty() && side != "w" && side != "b") return false;
    parsed.sideToMove = side != "b";
    if (!rights.empty()) {
        const char letters[4] = {'K', 'k', 'Q', 'q'};  // in the order of the castling slots
        for (int slot = 0; slot < 4; ++slot) parsed.castling[slot] = rights.find(letters[slot]) != std::string::npos;
        if (rights != "-" && rights.find_first_not_of("KQkq") != std::string::npos) return false;
    }
    std::string extra;
    if (rest >> extra) return false;
    board = parsed;
    return true;
}

}  // namespace tandemora
