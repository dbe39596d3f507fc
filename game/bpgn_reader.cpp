// Reading BPGN: a game's tags, unparsed move text and closing line; then the move text into the tree.
#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "game/game.h"
#include "game/text_fields.h"

namespace tandemora {

namespace {

bool isBlank(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// A text-mode view of a byte stream: CR LF arrives as LF, and characters can be put back.
class CharSource {
public:
    explicit CharSource(std::istream& in) : buffer_(in.rdbuf()) {}

    int get() {
        if (!pushed_.empty()) {
            int c = pushed_.back();
            pushed_.pop_back();
            if (copy_) *copy_ += static_cast<char>(c);
            return c;
        }
        if (!buffer_) return EOF;
        int c = buffer_->sbumpc();
        if (c == '\r') {
            // A run of CRs before an LF is one line end (files converted twice have CR CR LF).
            int extra = 0;
            while (buffer_->sgetc() == '\r') {
                buffer_->sbumpc();
                ++extra;
            }
            if (buffer_->sgetc() == '\n') c = buffer_->sbumpc();
            else pushed_.insert(pushed_.end(), extra, '\r');
        }
        if (copy_ && c != EOF) *copy_ += static_cast<char>(c);
        return c;
    }
    int getNonBlank() {
        int c;
        do c = get();
        while (isBlank(c));
        return c;
    }
    void putBack(int c) {
        pushed_.push_back(c);
        if (copy_ && !copy_->empty()) copy_->pop_back();
    }
    // While a copy is set, every character taken is appended to it; one put back is taken off.
    void copyInto(std::string* copy) { copy_ = copy; }

    // Appends lines, each with its LF, up to the first empty line, which is read but not
    // stored; false at the end of the stream or past `limit` characters. Only a non-blank
    // character may be waiting to be read again here.
    bool appendUntilEmptyLine(std::istream& stream, std::string& out, size_t limit) {
        while (!pushed_.empty()) out += static_cast<char>(get());
        const size_t lastBreak = out.rfind('\n');
        size_t lineBegin = lastBreak == std::string::npos ? 0 : lastBreak + 1;
        char chunk[4096];
        for (;;) {
            stream.getline(chunk, sizeof chunk);
            const std::streamsize extracted = stream.gcount();
            const bool wholeLine = !stream.fail();
            const bool ended = stream.eof();
            stream.clear(stream.rdstate() & ~(std::ios::failbit | std::ios::eofbit));
            if (ended || extracted == 0) return false;
            out.append(chunk, static_cast<size_t>(wholeLine ? extracted - 1 : extracted));
            if (out.size() > limit) return false;
            if (!wholeLine) continue;  // the line goes on in the next chunk
            // A run of CRs before the LF belongs to the line end.
            while (out.size() > lineBegin && out.back() == '\r') out.pop_back();
            if (out.size() == lineBegin && lineBegin > 0) return true;
            out += '\n';
            lineBegin = out.size();
        }
    }

private:
    std::streambuf* buffer_;
    std::vector<int> pushed_;
    std::string* copy_ = nullptr;
};

// Reads characters up to (not including) a stop character, at most `limit` of them.
bool readUntil(CharSource& in, std::string& out, int limit, bool (*stop)(int)) {
    out.clear();
    for (;;) {
        int c = in.get();
        if (c == EOF) return false;
        if (stop(c)) {
            in.putBack(c);
            return true;
        }
        if (static_cast<int>(out.size()) == limit) return false;
        out += static_cast<char>(c);
    }
}

// "%d+%d" as a scanner reads it: leading blanks, an optional sign, digits.
bool scanInt(const char*& p, int& value) {
    while (isBlank(*p)) ++p;
    bool negative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    if (*p < '0' || *p > '9') return false;
    long long v = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        v = v * 10 + (*p - '0');
        if (v > INT_MAX) return false;
    }
    value = static_cast<int>(negative ? -v : v);
    return true;
}

// Stores a recognised tag; kSkipped for a name it has no field for, kBad for an unusable value.
enum class TagResult { kStored, kSkipped, kBad };

TagResult storeTag(CGame& game, const std::string& name, const std::string& value) {
    std::string* text = nullptr;
    int* rating = nullptr;
    if (name == "Event") {
        int variant = variantOfEvent(value);
        if (variant < 0) return TagResult::kBad;
        game.variant = variant;
        text = &game.Event;
    } else if (name == "Site") text = &game.Site;
    else if (name == "Date") text = &game.Date;
    else if (name == "WhiteA") text = &game.WhiteA;
    else if (name == "BlackA") text = &game.BlackA;
    else if (name == "WhiteB") text = &game.WhiteB;
    else if (name == "BlackB") text = &game.BlackB;
    else if (name == "Result") text = &game.Result;
    else if (name == "WhiteAElo") rating = &game.WhiteAElo;
    else if (name == "WhiteBElo") rating = &game.WhiteBElo;
    else if (name == "BlackAElo") rating = &game.BlackAElo;
    else if (name == "BlackBElo") rating = &game.BlackBElo;
    else if (name == "TimeControl") {
        const char* p = value.c_str();
        int base = 0, increment = 0;
        if (!scanInt(p, base) || *p++ != '+' || !scanInt(p, increment)) return TagResult::kBad;
        if (base < -kMaxClockSeconds || base > kMaxClockSeconds) return TagResult::kBad;
        game.baseSeconds = base;
        game.incrementSeconds = increment;
        return TagResult::kStored;
    } else {
        return TagResult::kSkipped;
    }
    if (text) *text = value;
    if (rating) *rating = leadingNumber(value);
    return TagResult::kStored;
}

bool endsTagName(int c) { return c == ' ' || c == '\t' || c == '\n'; }
bool isQuote(int c) { return c == '"'; }

bool isResult(std::string_view word) { return word == "1-0" || word == "0-1" || word == "1/2-1/2" || word == "*"; }

// After a '{' that opens the text following the tags: reads the rest of that line, never
// past its end, and tells whether it is a closing line (see isClosingLine). `seen` receives
// everything read, the line break included, so nothing is lost either way.
bool opensClosingLine(CharSource& in, std::string& seen) {
    const size_t start = seen.size();
    for (int c; static_cast<int>(seen.size() - start) <= kMaxClosingLine && (c = in.get()) != EOF;) {
        seen += static_cast<char>(c);
        if (c == '\n') break;
    }
    std::string_view line(seen);
    line.remove_prefix(start);
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    return isClosingLine(line);
}

}  // namespace

// A group other than an annotation or comment is the closing line; so is an annotation or
// comment group followed by a result, which no move list can be. A line that ends before its
// group's letter and colon may go on as a comment on the next line, so it does not close.
bool isClosingLine(std::string_view line) {
    constexpr const char* kBlanks = " \t\r\v\f";
    const size_t close = line.find('}');
    const std::string_view group = line.substr(0, close);
    const size_t letter = group.find_first_not_of(kBlanks);
    const size_t colon = letter == std::string_view::npos ? letter : group.find_first_not_of(kBlanks, letter + 1);
    if (colon == std::string_view::npos) return close != std::string_view::npos;
    const bool moveGroup = group[colon] == ':' && (group[letter] == 'A' || group[letter] == 'C');
    if (!moveGroup) return true;
    if (close == std::string_view::npos) return false;
    std::string_view rest = line.substr(close + 1);
    const size_t word = rest.find_first_not_of(kBlanks);
    if (word == std::string_view::npos) return false;
    rest.remove_prefix(word);
    return isResult(rest.substr(0, rest.find_first_of(kBlanks)));
}

int variantOfEvent(const std::string& event) {
    for (const char* word : {"bughouse", "Bughouse", "BUGHOUSE"})
        if (event.find(word) != std::string::npos) return kBughouse;
    for (const char* word : {"crazyhouse", "Crazyhouse", "CRAZYHOUSE"})
        if (event.find(word) != std::string::npos) return kCrazyhouse;
    return -1;
}

bool CGame::readGame(std::istream& stream) {
    CharSource in(stream);
    int tags = 0;
    std::string name, value, text;
    int c;
    while ((c = in.getNonBlank()) == '[') {
        // The tag's text is copied as it stands, so that a tag kept as an other tag is
        // written back byte for byte.
        text.assign(1, '[');
        in.copyInto(&text);
        if (!readUntil(in, name, kMaxTagText, endsTagName)) return false;
        if (in.getNonBlank() != '"') return false;
        if (!readUntil(in, value, kMaxTagText, isQuote)) return false;
        if (in.getNonBlank() != '"' || in.getNonBlank() != ']') return false;
        in.copyInto(nullptr);
        TagResult result = storeTag(*this, name, value);
        if (result == TagResult::kBad) return false;
        if (result == TagResult::kStored) ++tags;
        else if (otherTags.size() < kMaxOtherTags) otherTags.push_back({name, value, text});
    }
    if (c == EOF || tags == 0) return false;

    // The move list runs to the first empty line; it may be empty (see isClosingLine).
    if (std::streamoff at = stream.rdbuf()->pubseekoff(0, std::ios::cur, std::ios::in); at > 0) moveTextOffset = at - 1;
    std::string moves;
    bool emptyList = false;
    if (c == '{') {
        moves = "{";
        emptyList = opensClosingLine(in, moves);
        if (emptyList) {
            for (auto it = moves.rbegin(); it != moves.rend(); ++it) in.putBack(static_cast<unsigned char>(*it));
            moves.clear();
        }
    } else {
        in.putBack(c);
    }
    if (!emptyList && !in.appendUntilEmptyLine(stream, moves, kMaxMoveList)) return false;

    if (in.getNonBlank() != '{') return false;
    std::string line;
    for (;;) {
        c = in.get();
        if (c == EOF || c == '\n') break;
        if (static_cast<int>(line.size()) == kMaxClosingLine) return false;
        line += static_cast<char>(c);
    }
    size_t close = line.find('}');
    if (close == std::string::npos) return false;
    resultDescription = line.substr(0, close);
    moveBuffer = std::move(moves);
    return true;
}

namespace {

// The move text parser: a cursor over the text and the game whose tree it fills.
class MoveTextParser {
public:
    MoveTextParser(CGame& game, std::string_view text, bool reportErrors)
        : game_(game), begin_(text.data()), p_(begin_), end_(begin_ + text.size()), reportErrors_(reportErrors) {}

    bool parseList(int depth);
    // After a successful parseList(0): where the list ended before the text's end, if it did.
    std::optional<TextPosition> stopBeforeEnd() {
        skipBlanks();
        if (p_ == end_) return std::nullopt;
        const std::string_view before(begin_, static_cast<size_t>(p_ - begin_));
        const size_t lineStart = before.rfind('\n') + 1;  // 0 on the first line
        return TextPosition{1 + static_cast<int>(std::count(before.begin(), before.end(), '\n')),
                            1 + static_cast<int>(before.size() - lineStart)};
    }

private:
    int peek() const { return p_ < end_ ? static_cast<unsigned char>(*p_) : EOF; }
    int take() { return p_ < end_ ? static_cast<unsigned char>(*p_++) : EOF; }
    void skipBlanks() {
        while (p_ < end_ && isBlank(static_cast<unsigned char>(*p_))) ++p_;
    }
    int takeNonBlank() {
        skipBlanks();
        return take();
    }
    bool readNumber(int& value) {
        skipBlanks();
        const char* p = p_;
        bool negative = p < end_ && *p == '-';
        if (p < end_ && (*p == '-' || *p == '+')) ++p;
        if (p == end_ || *p < '0' || *p > '9') return false;
        long long v = 0;
        for (; p < end_ && *p >= '0' && *p <= '9'; ++p) {
            v = v * 10 + (*p - '0');
            if (v > INT_MAX) return false;
        }
        value = static_cast<int>(negative ? -v : v);
        p_ = p;
        return true;
    }
    // The text of a group after its "X:", up to '}'; line breaks are dropped.
    bool readGroupText(std::string& text) {
        text.clear();
        for (int examined = 0; examined < kMaxGroupText + 1; ++examined) {
            int c = take();
            if (c == EOF) return false;
            if (c == '}') return true;
            if (c != '\n') text += static_cast<char>(c);
        }
        return false;
    }
    bool validLetter(int letter) const {
        return letter == 'A' || letter == 'a' || (game_.isBughouse() && (letter == 'B' || letter == 'b'));
    }
    bool makeMove(int number, char letter, const std::string& moveText, int clock);
    // Records why the list failed, naming the text where reading stopped.
    bool fail(const std::string& why) {
        if (game_.parseError.empty()) {
            const char* stop = p_;
            while (stop < end_ && stop - p_ < 20 && *stop != '\n') ++stop;
            game_.parseError = why + " at '" + std::string(p_, stop) + "'";
        }
        return false;
    }

    CGame& game_;
    const char* begin_;
    const char* p_;
    const char* end_;
    bool reportErrors_;
};

bool MoveTextParser::makeMove(int number, char letter, const std::string& moveText, int clock) {
    auto failure = [&](const char* why) {
        game_.parseError = why + std::to_string(number) + letter + ". " + moveText;
        return false;
    };
    if (clock < -kMaxClockSeconds || clock > kMaxClockSeconds) return failure("clock out of range at ");
    BoardWindow* board = (letter == 'A' || letter == 'a') ? game_.boardA.get() : game_.boardB.get();
    const bool white = letter == 'A' || letter == 'B';
    if (!board->rules().makeMoveFromText(moveText, white, reportErrors_)) return failure("illegal move ");
    game_.current->clockSeconds = clock;
    return true;
}

bool MoveTextParser::parseList(int depth) {
    enum { kBeforeNumber, kBeforeMoveText, kBeforeClock, kAfterMove } state = kBeforeNumber;
    char letter = 0;
    int number = 0;
    std::string moveText, group;
    skipBlanks();
    for (int c = peek(); c != EOF; skipBlanks(), c = peek()) {
        switch (state) {
        case kBeforeNumber: {
            if (c == '{') {
                const char* start = p_;
                take();
                int x = takeNonBlank(), y = takeNonBlank();
                if (x != 'C' || y != ':') {
                    // Any other group ends the list; a stray annotation here has no move.
                    if (x == 'A' && y == ':') return fail("annotation before any move");
                    p_ = start;
                    return true;
                }
                if (!readGroupText(group)) return fail("unclosed comment");
                game_.current->comment = group;
                break;
            }
            if (!readNumber(number)) return fail("expected a move number");
            int l = takeNonBlank();
            if (takeNonBlank() == EOF || !validLetter(l)) return fail("bad board letter");
            letter = static_cast<char>(l);
            state = kBeforeMoveText;
            break;
        }
        case kBeforeMoveText:
            moveText.clear();
            while (static_cast<int>(moveText.size()) < kMaxMoveText && peek() != EOF && peek() != ' ' &&
                   peek() != '\t' && peek() != '\n')
                moveText += static_cast<char>(take());
            state = kBeforeClock;
            break;
        case kBeforeClock: {
            if (c != '{') return fail("expected a clock after " + moveText);
            take();
            int clock;
            if (!readNumber(clock) || takeNonBlank() == EOF) return fail("bad clock");
            if (!makeMove(number, letter, moveText, clock)) return false;
            state = kAfterMove;
            break;
        }
        case kAfterMove:
            if (c >= '0' && c <= '9') {
                state = kBeforeNumber;
            } else if (c == '{') {
                const char* start = p_;
                take();
                if (!game_.current->parent) return fail("group before any move");
                int x = takeNonBlank(), y = takeNonBlank();
                if (y != ':' || (x != 'A' && x != 'C')) {
                    p_ = start;
                    return true;
                }
                if (!readGroupText(group)) return fail("unclosed group");
                (x == 'A' ? game_.current->annotation : game_.current->comment) = group;
            } else if (c == '(') {
                take();
                GameNode* remembered = game_.current;
                if (!remembered->parent) return fail("variation before any move");
                if (depth >= kMaxVariationDepth) return fail("variations nested too deeply");
                game_.current = remembered->parent;
                game_.synchronizeBoardsWithCurrentNode();
                if (!parseList(depth + 1)) return false;
                game_.current = remembered;
                game_.synchronizeBoardsWithCurrentNode();
            } else if (c == ')') {
                // The end of a variation; a stray one ends the whole list where it stands.
                if (depth > 0) take();
                return true;
            } else {
                return fail("unexpected character");
            }
            break;
        }
    }
    return state == kBeforeNumber || state == kAfterMove || fail("move list ends inside a move");
}

}  // namespace

bool CGame::parseMoveText(std::string_view text, bool reportErrors) {
    parseError.clear();
    movesReadUpTo.reset();
    MoveTextParser parser(*this, text, reportErrors);
    if (!parser.parseList(0)) return false;
    movesReadUpTo = parser.stopBeforeEnd();
    return true;
}

}  // namespace tandemora
