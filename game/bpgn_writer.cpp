// Writing BPGN: the tag lines and the other tags kept, the move list from the tree or the kept move text, the closing line.
#include <algorithm>
#include <string>
#include <string_view>
#include <utility>

#include "game/game.h"

namespace tandemora {

namespace {

constexpr int kLineLength = 74;

void breakLineIfLong(std::string& out, int& lineLength) {
    if (lineLength > kLineLength) {
        out += '\n';
        lineLength = 0;
    }
}

void writeTag(std::string& out, std::string_view name, const std::string& value) {
    out += '[';
    out += name;
    out += " \"";
    out += value;
    out += "\"]";
}

}  // namespace

OtherTag makeOtherTag(std::string name, std::string value) {
    std::string text;
    writeTag(text, name, value);
    return {std::move(name), std::move(value), std::move(text)};
}

std::string CGame::eloText(int rating) { return rating == 0 ? "++++" : std::to_string(rating); }

std::array<std::string, 4> CGame::eloTexts() const {
    return {eloText(WhiteAElo), eloText(BlackAElo), eloText(WhiteBElo), eloText(BlackBElo)};
}

void CGame::writeMoveList(const GameNode* node, std::string& out, int& lineLength) {
    for (; node; node = node->firstChild()) {
        size_t start = out.size();
        if (lineLength > 0 && node->isFirstChild()) out += ' ';
        appendMoveNumber(*node, out);
        out += ' ';
        out += node->moveText;
        out += " {";
        out += std::to_string(node->clockSeconds);
        out += '}';
        lineLength += static_cast<int>(out.size() - start);
        breakLineIfLong(out, lineLength);

        start = out.size();
        if (node->annotation) out += " {A:" + *node->annotation + '}';
        if (node->comment) out += " {C:" + *node->comment + '}';
        lineLength += static_cast<int>(out.size() - start);
        breakLineIfLong(out, lineLength);

        if (node->isFirstChild()) {
            const auto& siblings = node->parent->children;
            for (size_t i = 1; i < siblings.size(); ++i) {
                if (lineLength > 0) {
                    out += ' ';
                    ++lineLength;
                }
                out += '(';
                ++lineLength;
                writeMoveList(siblings[i].get(), out, lineLength);
                out += ')';
                breakLineIfLong(out, lineLength);
                ++lineLength;
            }
        }
    }
}

bool CGame::storeGameToStream(std::ostream& stream) {
    const auto elo = eloTexts();
    // A game read without an Event tag is written with the event its opening would give it.
    const std::string event = !Event.empty() ? Event : isBughouse() ? "Bughouse game" : "Crazyhouse game";
    std::string out;
    writeTag(out, "Event", event);
    out += '\n';
    writeTag(out, "Site", Site);
    out += '\n';
    writeTag(out, "Date", Date);
    out += '\n';
    writeTag(out, "WhiteA", WhiteA);
    writeTag(out, "WhiteAElo", elo[0]);
    out += '\n';
    writeTag(out, "BlackA", BlackA);
    writeTag(out, "BlackAElo", elo[1]);
    out += '\n';
    writeTag(out, "WhiteB", WhiteB);
    if (isBughouse()) writeTag(out, "WhiteBElo", elo[2]);
    out += '\n';
    writeTag(out, "BlackB", BlackB);
    if (isBughouse()) writeTag(out, "BlackBElo", elo[3]);
    out += '\n';
    writeTag(out, "TimeControl", std::to_string(baseSeconds) + '+' + std::to_string(incrementSeconds));
    out += '\n';
    writeTag(out, "Result", Result);
    out += '\n';
    for (const OtherTag& tag : otherTags) {
        out += tag.text;
        out += '\n';
    }
    out += '\n';

    // A tree read only in part, and not edited, leaves the text it was read from as it is.
    if (root && (modified || !movesReadUpTo)) {
        // The start position's comment goes first, where reading gives it back to the root.
        std::string moves;
        int lineLength = 0;
        if (root->comment) {
            moves = "{C:" + *root->comment + '}';
            lineLength = static_cast<int>(moves.size());
            breakLineIfLong(moves, lineLength);
        }
        writeMoveList(root->firstChild(), moves, lineLength);
        moveBuffer = std::move(moves);
    }
    // A kept move text ends with its own line break; either way one empty line follows.
    static const std::string noMoves;
    const std::string& moves = moveBuffer ? *moveBuffer : noMoves;
    out += moves;
    if (moves.empty() || moves.back() != '\n') out += '\n';
    // The reader ignores the result on the closing line, but the line must stay one line
    // within its limit: a line break in the Result tag would spill into the next game, and
    // an overlong line would make this one unreadable.
    std::string closing = resultDescription + '}';
    if (closing.size() < static_cast<size_t>(kMaxClosingLine)) {
        const size_t room = kMaxClosingLine - closing.size() - 1;
        closing += ' ' + Result.substr(0, std::min(room, Result.find_first_of("\r\n")));
    }
    // Without moves the closing line follows the tags, where it must not read as a move list.
    if (moves.find_first_not_of(" \t\n\r\v\f") == std::string::npos && !isClosingLine(closing))
        closing = resultDescription.substr(0, kMaxClosingLine - 3) + "} *";
    out += "\n{" + closing + '\n';
    stream.write(out.data(), static_cast<std::streamsize>(out.size()));
    return stream.good();
}

}  // namespace tandemora
