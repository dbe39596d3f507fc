#include "game/record_lexer.h"

#include <cstring>

namespace tandemora {

namespace {

bool isBlank(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }
bool isDigit(int c) { return c >= '0' && c <= '9'; }
bool endsWord(int c) { return c == EOF || isBlank(c) || std::strchr("{}()[];", c) != nullptr; }

// Groups and tag values longer than any game needs are cut here; the reader's own limits
// are kept later, when the game is written.
constexpr size_t kMaxTokenText = 200000;

}  // namespace

int RecordLexer::look() {
    if (lookahead_ == -2) lookahead_ = buffer_ ? buffer_->sbumpc() : EOF;
    // A UTF-8 byte-order mark at the start of a file is no text of the record.
    if (atStart_) {
        atStart_ = false;
        if (lookahead_ == 0xEF && buffer_->sgetc() == 0xBB) {
            buffer_->sbumpc();
            if (buffer_->sgetc() == 0xBF) {
                buffer_->sbumpc();
                lookahead_ = buffer_->sbumpc();
            } else {
                buffer_->sungetc();
            }
        }
    }
    return lookahead_;
}

int RecordLexer::get() {
    int c = look();
    lookahead_ = -2;
    if (c == '\n') ++line_;
    return c;
}

const RecordToken& RecordLexer::peek() {
    // A glued "1.e4" queues its move while being read, so the number goes in front of it.
    if (pending_.empty()) {
        RecordToken token = read();
        pending_.push_front(std::move(token));
    }
    return pending_.front();
}

RecordToken RecordLexer::next() {
    if (pending_.empty()) return read();
    RecordToken token = std::move(pending_.front());
    pending_.pop_front();
    return token;
}

RecordToken RecordLexer::read() {
    for (;;) {
        while (isBlank(look())) get();
        RecordToken token;
        token.line = line_;
        const int c = look();
        if (c == EOF) return token;
        if (c == ';') {  // a comment to the end of the line
            while (look() != EOF && look() != '\n') get();
            continue;
        }
        get();
        if (c == '{' || c == '[') {
            const int close = c == '{' ? '}' : ']';
            token.kind = c == '{' ? RecordToken::kGroup : RecordToken::kTag;
            if (c == '{') {
                for (int d; (d = get()) != EOF && d != close;)
                    if (token.text.size() < kMaxTokenText) token.text += static_cast<char>(d);
                return token;
            }
            // A tag pair: name, blanks, a quoted value with \" and \\ escapes, then ']'.
            while (isBlank(look())) get();
            while (look() != EOF && !isBlank(look()) && look() != '"' && look() != ']')
                token.text += static_cast<char>(get());
            while (isBlank(look())) get();
            if (look() == '"') {
                get();
                for (int d; (d = get()) != EOF && d != '"';) {
                    if (d == '\\' && (look() == '"' || look() == '\\')) d = get();
                    if (token.value.size() < kMaxTokenText) token.value += static_cast<char>(d);
                }
            }
            while (look() != EOF && look() != ']' && look() != '\n') get();
            if (look() == ']') get();
            return token;
        }
        if (c == '(') {
            token.kind = RecordToken::kOpen;
            return token;
        }
        if (c == ')') {
            token.kind = RecordToken::kClose;
            return token;
        }
        if (c == '}' || c == ']') continue;  // stray closers carry nothing
        token.text = static_cast<char>(c);
        readWord(token);
        return token;
    }
}

// Classifies a word: result, move number (perhaps glued to its move), mark, or move.
void RecordLexer::readWord(RecordToken& token) {
    while (!endsWord(look())) token.text += static_cast<char>(get());
    std::string& w = token.text;
    if (w == "e.p.") {  // an en-passant remark written apart from its move
        token.kind = RecordToken::kMark;
        w.clear();
        return;
    }
    if (w == "1-0" || w == "0-1" || w == "1/2-1/2" || w == "*") {
        token.kind = RecordToken::kResult;
        return;
    }
    if (w[0] == '$' || w.find_first_not_of("!?") == std::string::npos) {
        token.kind = RecordToken::kMark;
        return;
    }
    if (isDigit(w[0]) && w.rfind("0-0", 0) != 0) {
        size_t i = 0;
        while (i < w.size() && isDigit(w[i])) ++i;
        if (i < w.size() && std::strchr("AaBb", w[i]) && i + 1 < w.size() && w[i + 1] == '.') token.boardLetter = w[i++];
        if (i < w.size() && w[i] == '.') {
            while (i < w.size() && w[i] == '.') ++i;
            token.kind = RecordToken::kNumber;
            if (i < w.size()) {  // "1.e4": the move follows without a blank
                RecordToken move;
                move.kind = RecordToken::kMove;
                move.text = w.substr(i);
                move.line = token.line;
                pending_.push_back(std::move(move));
                w.resize(i);
            }
            return;
        }
    }
    token.kind = RecordToken::kMove;
}

}  // namespace tandemora
