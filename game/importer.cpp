#include "game/importer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "game/pawn_capture_origin.h"
#include "game/record_lexer.h"
#include "game/text_fields.h"
#include "game/silent_board.h"

namespace tandemora {

namespace {

using Tags = std::vector<std::pair<std::string, std::string>>;

const std::string* findTag(const Tags& tags, const char* name) {
    for (const auto& [key, value] : tags)
        if (key == name) return &value;
    return nullptr;
}

std::string lowered(std::string text) {
    for (char& c : text) c = asciiLower(c);
    return text;
}

std::string_view trimmed(std::string_view text) {
    const char* blanks = " \t\r\n\v\f";
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// A text the native reader takes back as it is, without its surrounding blanks.
std::string writable(std::string_view text, size_t limit, bool tagValue) {
    return writableText(trimmed(text), limit, tagValue);
}

// "2020-03-31" and "2020/03/31" become "2020.03.31"; anything else stays as it is.
std::string normalDate(std::string date) {
    if (date.size() == 10 && (date[4] == '-' || date[4] == '/') && date[7] == date[4]) date[4] = date[7] = '.';
    return date;
}

int ratingOf(const std::string& text) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 9) return 0;
    return std::atoi(text.c_str());
}

// "180+2", or "180" alone, which has no increment.
bool readTimeControl(const std::string& text, int& base, int& increment) {
    char* end = nullptr;
    const long b = std::strtol(text.c_str(), &end, 10);
    if (end == text.c_str() || b < 0 || b > kMaxClockSeconds) return false;
    long inc = 0;
    if (*end == '+') {
        const char* start = end + 1;
        inc = std::strtol(start, &end, 10);
        if (end == start || inc < 0 || inc > kMaxClockSeconds) return false;
    }
    if (*end != '\0') return false;
    base = static_cast<int>(b);
    increment = static_cast<int>(inc);
    return true;
}

bool hasVariantWord(const std::string& event, const char* lower, const char* capital, const char* upper) {
    for (const char* word : {lower, capital, upper})
        if (event.find(word) != std::string::npos) return true;
    return false;
}

// The tags that fill the game's header. Ordinary PGN names the players of the one board White
// and Black; later tags win.
const std::pair<const char*, std::string CGame::*> kTextTags[] = {
    {"Event", &CGame::Event},   {"Site", &CGame::Site},     {"Date", &CGame::Date},
    {"Result", &CGame::Result}, {"White", &CGame::WhiteA},  {"Black", &CGame::BlackA},
    {"WhiteA", &CGame::WhiteA}, {"BlackA", &CGame::BlackA}, {"WhiteB", &CGame::WhiteB},
    {"BlackB", &CGame::BlackB}};
const std::pair<const char*, int CGame::*> kRatingTags[] = {
    {"WhiteElo", &CGame::WhiteAElo},  {"BlackElo", &CGame::BlackAElo},  {"WhiteAElo", &CGame::WhiteAElo},
    {"BlackAElo", &CGame::BlackAElo}, {"WhiteBElo", &CGame::WhiteBElo}, {"BlackBElo", &CGame::BlackBElo}};

bool fillsHeader(const std::string& name) {
    const auto named = [&](const auto& tag) { return name == tag.first; };
    return name == "TimeControl" || std::any_of(std::begin(kTextTags), std::end(kTextTags), named) ||
           std::any_of(std::begin(kRatingTags), std::end(kRatingTags), named);
}

// The tags that fill no field of the header stay with the game, in their order, in a form the
// native reader takes back: a name without blanks, a value on one line without quotes.
void keepOtherTags(CGame& game, const Tags& tags) {
    for (const auto& [name, value] : tags) {
        if (game.otherTags.size() == kMaxOtherTags) return;
        if (name.empty() || name.size() > static_cast<size_t>(kMaxTagText) || fillsHeader(name)) continue;
        game.otherTags.push_back(makeOtherTag(name, writableText(value, kMaxTagText, true)));
    }
}

// Fills the game's header from the foreign tags; the Event names the variant in a spelling
// the reader accepts.
void applyTags(CGame& game, const Tags& tags) {
    const bool bughouse = game.isBughouse();
    for (const auto& [name, field] : kTextTags)
        if (const std::string* value = findTag(tags, name)) game.*field = writable(*value, kMaxTagText, true);
    for (const auto& [name, field] : kRatingTags)
        if (const std::string* value = findTag(tags, name)) game.*field = ratingOf(*value);
    game.Date = normalDate(game.Date);
    if (const std::string* control = findTag(tags, "TimeControl"))
        readTimeControl(*control, game.baseSeconds, game.incrementSeconds);

    std::string& event = game.Event;
    if (event.empty()) {
        event = bughouse ? "Bughouse game" : "Crazyhouse game";
    } else if (bughouse && !hasVariantWord(event, "bughouse", "Bughouse", "BUGHOUSE")) {
        event = event.substr(0, kMaxTagText - 11) + " (bughouse)";
    } else if (!bughouse && !hasVariantWord(event, "crazyhouse", "Crazyhouse", "CRAZYHOUSE")) {
        event = event.substr(0, kMaxTagText - 13) + " (crazyhouse)";
    }
}

// The variant the Event names as the native reader takes it, or else the word in any letter
// case in the Event or Variant tag; -1 when neither names one.
int variantOf(const Tags& tags) {
    const std::string* eventTag = findTag(tags, "Event");
    const std::string event = eventTag ? *eventTag : "";
    if (hasVariantWord(event, "bughouse", "Bughouse", "BUGHOUSE")) return kBughouse;
    if (hasVariantWord(event, "crazyhouse", "Crazyhouse", "CRAZYHOUSE")) return kCrazyhouse;
    const std::string* variantTag = findTag(tags, "Variant");
    const std::string named = lowered(event + ' ' + (variantTag ? *variantTag : ""));
    if (named.find("bughouse") != std::string::npos) return kBughouse;
    if (named.find("crazyhouse") != std::string::npos) return kCrazyhouse;
    return -1;
}

const char* markOfNag(const std::string& nag) {
    static const char* const marks[] = {"", "!", "?", "!!", "??", "!?", "?!"};
    const int n = std::atoi(nag.c_str() + 1);
    return n >= 1 && n <= 6 ? marks[n] : nullptr;
}

// A move word in the native spelling, its trailing marks ("!?") moved to `marks`.
std::string nativeMove(std::string word, std::string& marks) {
    const size_t markStart = word.find_last_not_of("!?") + 1;
    marks = word.substr(markStart);
    word.resize(markStart);
    if (word.rfind("0-0", 0) == 0) std::replace(word.begin(), word.end(), '0', 'O');
    word.erase(std::remove(word.begin(), word.end(), '#'), word.end());
    if (const size_t ep = word.find("e.p."); ep != std::string::npos) word.erase(ep);
    // "e8Q": a promotion written without '='.
    if (word.size() >= 3 && word[0] >= 'a' && word[0] <= 'h' && word.find('=') == std::string::npos) {
        const size_t piece = word.find_first_of("QRBN", 1);
        if (piece != std::string::npos && piece > 0 && word[piece - 1] >= '1' && word[piece - 1] <= '8')
            word.insert(piece, 1, '=');
    }
    return word;
}

// Seconds from "h:mm:ss" or "m:ss" with an optional fraction.
double clockSeconds(std::string_view text) {
    double seconds = 0;
    size_t start = 0;
    for (;;) {
        const size_t colon = text.find(':', start);
        seconds = seconds * 60 + std::atof(std::string(text.substr(start, colon - start)).c_str());
        if (colon == std::string_view::npos) return seconds;
        start = colon + 1;
    }
}

bool isPlainNumber(std::string_view text) {
    if (!text.empty() && text[0] == '-') text.remove_prefix(1);
    const size_t dot = text.find('.');
    const std::string_view whole = text.substr(0, dot);
    const std::string_view fraction = dot == std::string_view::npos ? std::string_view() : text.substr(dot + 1);
    auto digits = [](std::string_view s) { return s.find_first_not_of("0123456789") == std::string_view::npos; };
    return !whole.empty() && whole.size() <= 9 && digits(whole) && digits(fraction);
}

// Marks a game as skipped; false, for returning straight away.
bool skip(ImportedGame& result, SkipReason reason, std::string why) {
    result.reason = reason;
    result.skipReason = std::move(why);
    return false;
}

// Turns the move text of one game into its tree, move by move.
class Translator {
public:
    Translator(CGame& game, RecordLexer& lexer, bool resultTagged)
        : game_(game), lexer_(lexer), resultTagged_(resultTagged) {}

    // Plays the game's moves; false when the game cannot be imported, with `result` saying why.
    bool run(ImportedGame& result);

private:
    struct Times {
        double seconds[4];  // board A white, board A black, board B white, board B black
        double stamps[2];   // seconds since the start at the last move on board A and on board B
    };
    struct Variation {
        GameNode* resume;
        GameNode* lastMove;
        Times times;
        int slot;
    };

    std::string playMove(const std::string& word);
    void takeGroup(const std::string& text);
    void takeClockCommands(std::string& text);
    void setClock(double seconds);
    void setTimestamp(double stamp);
    void addComment(std::string_view text);
    void annotate(const std::string& mark);

    CGame& game_;
    RecordLexer& lexer_;
    bool resultTagged_;  // a Result tag was given; else the result after the moves is taken
    std::vector<Variation> variations_;
    std::unordered_map<const GameNode*, Times> timesAt_;
    Times times_{};
    GameNode* lastMove_ = nullptr;  // the move that clocks and marks belong to
    int slot_ = 0;                  // its mover's clock
    char letter_ = 0;               // the board letter of the number before the next move
    std::string number_;            // that number, for messages
    // At least as many characters as the tree's move text will be written with: a game
    // too long to read back is given up as soon as it is known, not after all its moves.
    size_t written_ = 0;
};

bool Translator::run(ImportedGame& result) {
    for (double& s : times_.seconds) s = game_.baseSeconds;
    timesAt_[game_.root.get()] = times_;
    for (;;) {
        if (written_ >= static_cast<size_t>(kMaxMoveList))
            return skip(result, SkipReason::kTooLong, "a move list longer than the program reads");
        const RecordToken::Kind kind = lexer_.peek().kind;
        if (kind == RecordToken::kEnd || kind == RecordToken::kTag) return true;  // the next game begins
        RecordToken token = lexer_.next();
        switch (token.kind) {
        case RecordToken::kResult:
            if (!variations_.empty()) break;
            if (!resultTagged_) game_.Result = token.text;  // the moves end with the result
            return true;
        case RecordToken::kNumber:
            letter_ = token.boardLetter;
            number_ = token.text;
            break;
        case RecordToken::kMove:
            if (std::string why = playMove(token.text); !why.empty())
                return skip(result, SkipReason::kMovesDoNotReplay, why);
            break;
        case RecordToken::kMark:
            annotate(token.text[0] == '$' ? (markOfNag(token.text) ? markOfNag(token.text) : "") : token.text);
            break;
        case RecordToken::kGroup:
            takeGroup(token.text);
            break;
        case RecordToken::kOpen: {
            if (!lastMove_) return skip(result, SkipReason::kMovesDoNotReplay, "a variation before any move");
            if (variations_.size() >= static_cast<size_t>(kMaxVariationDepth))
                return skip(result, SkipReason::kMovesDoNotReplay, "variations nested too deeply");
            variations_.push_back({game_.current, lastMove_, times_, slot_});
            game_.current = lastMove_->parent;
            game_.synchronizeBoardsWithCurrentNode();
            times_ = timesAt_[game_.current];
            lastMove_ = nullptr;
            break;
        }
        case RecordToken::kClose:
            if (variations_.empty()) break;  // a stray ')' carries nothing
            game_.current = variations_.back().resume;
            game_.synchronizeBoardsWithCurrentNode();
            lastMove_ = variations_.back().lastMove;
            times_ = variations_.back().times;
            slot_ = variations_.back().slot;
            variations_.pop_back();
            break;
        default:
            break;
        }
    }
}

std::string Translator::playMove(const std::string& word) {
    std::string marks;
    std::string move = nativeMove(word, marks);
    const char letter = std::exchange(letter_, 0);
    BoardWindow* board = game_.boardA.get();
    bool white;
    if (letter) {
        if (letter == 'B' || letter == 'b') board = game_.boardB.get();
        white = letter == 'A' || letter == 'B';
    } else {
        white = board->position().sideToMove == 1;
    }
    // Messages name the move as the record numbers it; a black move written without its
    // number gets the one it would have ("4... Nf6").
    const GameNode& previous = *game_.current;
    const int number = previous.moveNumber + ((white || previous.moveNumber == 0) ? 1 : 0);
    const std::string named =
        (number_.empty() ? std::to_string(number) + (white ? ". " : "... ") : number_ + " ") + word;
    number_.clear();
    if (!board) return "a board-B move in a crazyhouse game: " + named;
    if (!letter && game_.isBughouse()) return "a move without its board letter: " + named;
    if (lacksPawnCaptureOrigin(move)) {
        const std::vector<std::string> pawnMoves = pawnCapturesWithOrigin(board->rules(), *board, move, white);
        if (pawnMoves.size() > 1) return "ambiguous move " + named;
        if (pawnMoves.size() == 1) move = pawnMoves.front();
    }
    const size_t siblings = previous.children.size();
    if (move.empty() || !board->rules().makeMoveFromText(move, white, false)) return "illegal move " + named;
    lastMove_ = game_.current;
    // A move the tree had already is written once: only a new node adds its element,
    // "12A. Nf3 {0}" at the shortest.
    if (previous.children.size() > siblings)
        written_ += std::to_string(lastMove_->moveNumber).size() + std::strlen(lastMove_->moveText) + 7;
    slot_ = (board == game_.boardB.get() ? 2 : 0) + (white ? 0 : 1);
    lastMove_->clockSeconds = static_cast<int>(std::trunc(times_.seconds[slot_]));
    timesAt_[lastMove_] = times_;
    if (!marks.empty()) annotate(marks);
    return {};
}

void Translator::setClock(double seconds) {
    if (!lastMove_ || !std::isfinite(seconds)) return;
    seconds = std::clamp<double>(seconds, -kMaxClockSeconds, kMaxClockSeconds);
    times_.seconds[slot_] = seconds;
    lastMove_->clockSeconds = static_cast<int>(std::trunc(seconds));
    timesAt_[lastMove_] = times_;
}

// A move made `stamp` seconds after the game began: its mover thought since the previous move
// on the same board (or since the start), and gains the increment after it.
void Translator::setTimestamp(double stamp) {
    if (!lastMove_ || !std::isfinite(stamp)) return;
    const Times before = timesAt_[lastMove_->parent];
    const int board = slot_ / 2;
    // A timestamp before the board's previous one is taken as no thinking time, and the
    // previous one stays what the next move's thinking is counted from.
    const double thinking = std::max(0.0, stamp - before.stamps[board]);
    times_.stamps[board] = std::max(before.stamps[board], stamp);
    setClock(std::max(0.0, before.seconds[slot_] - thinking + game_.incrementSeconds));
}

// "[%clk 0:01:00]" gives the time left, "[%emt 2.5]" (or "0:00:02.5") the time the move
// took, "[ts=12.345]" the seconds since the game began; other "[%...]" commands are dropped.
// What is left of the text stays a comment.
void Translator::takeClockCommands(std::string& text) {
    for (size_t open = 0; (open = text.find('[', open)) != std::string::npos;) {
        const bool timestamp = text.compare(open + 1, 3, "ts=") == 0;
        if (!timestamp && text.compare(open + 1, 1, "%") != 0) {
            ++open;
            continue;
        }
        const size_t start = open + (timestamp ? 4 : 2);
        const size_t close = text.find(']', open);
        const std::string command = text.substr(start, (close == std::string::npos ? text.size() : close) - start);
        text.erase(open, close == std::string::npos ? std::string::npos : close - open + 1);
        if (timestamp) {
            setTimestamp(clockSeconds(trimmed(command)));
            continue;
        }
        const std::string_view argument = trimmed(std::string_view(command).substr(std::min<size_t>(3, command.size())));
        if (command.rfind("clk", 0) == 0) setClock(clockSeconds(argument));
        else if (command.rfind("emt", 0) == 0 && lastMove_)
            setClock(timesAt_[lastMove_->parent].seconds[slot_] - clockSeconds(argument));
    }
}

void Translator::takeGroup(const std::string& group) {
    const std::string_view text = trimmed(group);
    if (lastMove_ && isPlainNumber(text)) {  // "{298.21}": the mover's time left
        setClock(std::atof(std::string(text).c_str()));
        return;
    }
    if (text.size() >= 2 && text[1] == ':' && text[0] >= 'A' && text[0] <= 'Z') {
        // "{C:...}" comments, "{A:...}" annotations; other lettered groups ("{R:...}") are dropped.
        if (text[0] == 'C') addComment(text.substr(2));
        if (text[0] == 'A') annotate(std::string(trimmed(text.substr(2))));
        return;
    }
    std::string rest(text);
    takeClockCommands(rest);
    if (trimmed(rest).empty()) return;
    // The text right before the game's result describes how it ended.
    if (variations_.empty() && lexer_.peek().kind == RecordToken::kResult) {
        game_.resultDescription = writable(rest, kMaxClosingLine - 12, false);
        return;
    }
    addComment(rest);
}

void Translator::addComment(std::string_view text) {
    const std::string clean = writable(text, kMaxGroupText, false);
    if (clean.empty()) return;
    std::optional<std::string>& comment = (lastMove_ ? lastMove_ : game_.current)->comment;
    const size_t before = comment ? comment->size() : 0;
    comment = writable(comment ? *comment + ' ' + clean : clean, kMaxGroupText, false);
    written_ += comment->size() - before;
}

void Translator::annotate(const std::string& mark) {
    if (lastMove_ && !mark.empty()) lastMove_->annotation = writable(mark, kMaxGroupText, false);
}

// Passes over the rest of a game that is not imported: up to its result or the next tags.
void skipGame(RecordLexer& lexer) {
    int depth = 0;
    for (;;) {
        const RecordToken::Kind kind = lexer.peek().kind;
        if (kind == RecordToken::kEnd || kind == RecordToken::kTag) return;
        lexer.next();
        if (kind == RecordToken::kOpen) ++depth;
        if (kind == RecordToken::kClose && depth > 0) --depth;
        if (kind == RecordToken::kResult && depth == 0) return;
    }
}

}  // namespace

GameImporter::GameImporter(std::istream& in) : lexer_(std::make_unique<RecordLexer>(in)) {}

GameImporter::~GameImporter() = default;

bool GameImporter::next(ImportedGame& result) {
    result = ImportedGame{};
    RecordLexer& lexer = *lexer_;
    Tags tags;
    // A tag this block has already starts the next game's block: this game has no moves. The
    // names seen are kept in a set, so a block of very many tags is read in linear time.
    std::unordered_set<std::string> names;
    while (lexer.peek().kind == RecordToken::kTag && names.insert(lexer.peek().text).second) {
        RecordToken tag = lexer.next();
        tags.emplace_back(std::move(tag.text), std::move(tag.value));
    }
    if (tags.empty() && lexer.peek().kind == RecordToken::kEnd) return false;
    const int variant = variantOf(tags);
    const std::string* setUp = findTag(tags, "SetUp") ? findTag(tags, "SetUp") : findTag(tags, "Setup");
    if (tags.empty()) skip(result, SkipReason::kNoTags, "moves without tags");
    else if (findTag(tags, "FEN") || (setUp && *setUp == "1"))
        skip(result, SkipReason::kSetUpPosition, "starts from a set-up position");
    else if (variant < 0) skip(result, SkipReason::kOtherVariant, "not a bughouse or crazyhouse game");
    if (result.reason != SkipReason::kNone) {
        skipGame(lexer);
        return true;
    }

    auto game = std::make_unique<CGame>();
    game->variant = variant;
    applyTags(*game, tags);
    keepOtherTags(*game, tags);
    game->resultDescription.clear();
    SilentBoardFactory boards;
    if (game->isBughouse()) game->createBughouseBoards(boards);
    else game->createCrazyhouseBoards(boards);
    game->displayOn = false;
    if (!Translator(*game, lexer, findTag(tags, "Result") != nullptr).run(result)) {
        skipGame(lexer);
        return true;
    }
    game->recomputeClocks(game->root.get());
    game->modified = true;  // so closing writes the tree into the move text, even with no moves
    game->closeBoards();
    game->modified = false;
    game->displayOn = true;
    // Anything the program writes it must read back.
    if (game->moveBuffer && game->moveBuffer->size() >= static_cast<size_t>(kMaxMoveList)) {
        skip(result, SkipReason::kTooLong, "a move list longer than the program reads");
        return true;
    }
    result.game = std::move(game);
    return true;
}

void ImportCounts::add(const ImportedGame& game) {
    if (game.game) ++imported;
    else ++skipped[static_cast<size_t>(game.reason)];
}

std::string describeSkipped(const ImportCounts& counts) {
    // What one game (and many) skipped for each reason is, in the order of SkipReason.
    static const char* const phrases[kSkipReasons][2] = {
        {"", ""},
        {"has moves without tags", "have moves without tags"},
        {"starts from a set-up position", "start from a set-up position"},
        {"is not a bughouse or crazyhouse game", "are not bughouse or crazyhouse games"},
        {"has moves that do not replay", "have moves that do not replay"},
        {"has a move list longer than the program reads", "have move lists longer than the program reads"},
    };
    int total = 0, reasons = 0;
    std::string parts;
    for (int reason = 1; reason < kSkipReasons; ++reason) {
        const int n = counts.skipped[static_cast<size_t>(reason)];
        if (n == 0) continue;
        total += n;
        ++reasons;
        parts += (parts.empty() ? "" : ", ") + std::to_string(n) + ' ' + phrases[reason][n == 1 ? 0 : 1];
    }
    if (reasons == 0) return {};
    if (reasons == 1) return parts + (total == 1 ? " and is skipped" : " and are skipped");
    return std::to_string(total) + " are skipped: " + parts;
}

}  // namespace tandemora
