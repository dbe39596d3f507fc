// The tokens of a game record as players' files write them: tag pairs, brace groups, move
// numbers with or without board letters, moves with their marks, variations and results.
#pragma once

#include <deque>
#include <istream>
#include <string>

namespace tandemora {

struct RecordToken {
    enum Kind { kEnd, kTag, kGroup, kOpen, kClose, kNumber, kMove, kMark, kResult };
    Kind kind = kEnd;
    std::string text;   // tag name, group text, move, mark ("!?"), result, or the number token
    std::string value;  // tag value
    char boardLetter = 0;  // of a number such as "12a."
    int line = 0;          // where the token starts
};

class RecordLexer {
public:
    explicit RecordLexer(std::istream& in) : buffer_(in.rdbuf()) {}

    RecordToken next();
    const RecordToken& peek();

private:
    int get();
    int look();
    RecordToken read();
    void readWord(RecordToken& token);

    std::streambuf* buffer_;
    int line_ = 1;
    int lookahead_ = -2;  // a character read but not yet taken; -2 for none
    bool atStart_ = true;
    std::deque<RecordToken> pending_;
};

}  // namespace tandemora
