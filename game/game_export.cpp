#include "game/game_export.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <iterator>
#include <memory>
#include <sstream>
#include <string_view>

#include "game/game_file.h"
#include "game/importer.h"
#include "game/standard_notation.h"

namespace tandemora {

namespace {

// Short enough for every reader and for reading in a terminal.
constexpr size_t kLineColumns = 79;

// Words joined by blanks into lines of at most 79 columns; a word longer than a line stands
// alone on its own. A word may hold blanks of its own ("12. Nf3") that are never broken.
class WrappedText {
public:
    explicit WrappedText(std::string& out) : out_(out) {}

    void word(std::string_view word) {
        if (column_ > 0) {
            const bool fits = column_ + 1 + word.size() <= kLineColumns;
            out_ += fits ? ' ' : '\n';
            column_ = fits ? column_ + 1 : 0;
        }
        out_ += word;
        column_ += word.size();
    }

    // A comment in braces, broken at its blanks where the line is full. A '}' would end it
    // early, so none is written.
    void comment(std::string_view text) {
        std::string words;
        std::remove_copy(text.begin(), text.end(), std::back_inserter(words), '}');
        std::string_view rest = words;
        std::string piece = "{";
        for (size_t blank; (blank = rest.find(' ')) != std::string_view::npos; rest.remove_prefix(blank + 1)) {
            piece += rest.substr(0, blank);
            word(piece);
            piece.clear();
        }
        piece += rest;
        piece += '}';
        word(piece);
    }

    void endLine() {
        if (column_ > 0) out_ += '\n';
        column_ = 0;
    }

private:
    std::string& out_;
    size_t column_ = 0;
};

bool isResult(const std::string& text) { return text == "1-0" || text == "0-1" || text == "1/2-1/2" || text == "*"; }

// An annotation other programs read as a mark written right after the move.
bool isMark(const std::optional<std::string>& annotation) {
    static const char* const marks[] = {"!", "?", "!!", "??", "!?", "?!"};
    return annotation && std::any_of(std::begin(marks), std::end(marks), [&](const char* m) { return *annotation == m; });
}

const std::string* otherTagValue(const CGame& game, std::string_view name) {
    for (const OtherTag& tag : game.otherTags)
        if (tag.name == name) return &tag.value;
    return nullptr;
}

// The first move of `node`'s alternatives is its parent's first child: the others follow it in
// parentheses, where PGN and BPGN alike put them.
template <typename Line>
void appendVariations(const GameNode& node, WrappedText& text, Line line) {
    if (!node.isFirstChild()) return;
    const auto& siblings = node.parent->children;
    for (size_t i = 1; i < siblings.size(); ++i) {
        text.word("(");
        line(siblings[i].get());
        text.word(")");
    }
}

// Standard PGN for a crazyhouse game.
class PgnWriter {
public:
    explicit PgnWriter(std::string& out) : out_(out), text_(out) {}

    bool write(const CGame& game, std::string& why) {
        appendHeader(game);
        if (game.root->comment) text_.comment(*game.root->comment);
        appendLine(game.root->firstChild());
        if (analysis_) {
            why = "an analysis step, which PGN cannot hold";
            return false;
        }
        // Always a closing comment: else a comment on the last move would read as one.
        text_.comment(game.resultDescription);
        text_.word(isResult(game.Result) ? game.Result : "*");
        text_.endLine();
        out_ += '\n';
        return true;
    }

private:
    void tag(std::string_view name, std::string_view value) {
        out_ += '[';
        out_ += name;
        out_ += " \"";
        for (char c : value) {
            if (c == '\\' || c == '"') out_ += '\\';
            out_ += c == '\n' || c == '\r' ? ' ' : c;
        }
        out_ += "\"]\n";
    }

    // A tag name as PGN spells it: a letter or digit, then letters, digits and "_+#=:-".
    static bool isSymbol(const std::string& name) {
        const auto alphanumeric = [](char c) {
            return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        };
        const auto symbolic = [&](char c) { return alphanumeric(c) || (c != '\0' && std::strchr("_+#=:-", c)); };
        return !name.empty() && alphanumeric(name[0]) && std::all_of(name.begin(), name.end(), symbolic);
    }

    // "2005.01.03", also with '-' or '/' between the parts and '?' for unknown digits.
    static std::string date(std::string text) {
        bool shaped = text.size() == 10 && (text[4] == '.' || text[4] == '-' || text[4] == '/') && text[7] == text[4];
        for (size_t i = 0; shaped && i < text.size(); ++i)
            shaped = i == 4 || i == 7 || (text[i] >= '0' && text[i] <= '9') || text[i] == '?';
        if (!shaped) return "????.??.??";
        text[4] = text[7] = '.';
        return text;
    }

    void appendHeader(const CGame& game) {
        const std::string* round = otherTagValue(game, "Round");
        tag("Event", game.Event);
        tag("Site", game.Site);
        tag("Date", date(game.Date));
        tag("Round", round ? *round : "-");
        tag("White", game.WhiteA);
        tag("Black", game.BlackA);
        tag("Result", isResult(game.Result) ? game.Result : "*");
        tag("Variant", "Crazyhouse");
        const bool timed = game.baseSeconds >= 0 && game.incrementSeconds >= 0;
        tag("TimeControl", timed ? std::to_string(game.baseSeconds) + '+' + std::to_string(game.incrementSeconds) : "?");
        if (game.WhiteAElo > 0) tag("WhiteElo", std::to_string(game.WhiteAElo));
        if (game.BlackAElo > 0) tag("BlackElo", std::to_string(game.BlackAElo));
        // Tags written above are not repeated; a set-up position would make other programs start
        // the moves from somewhere they were not played.
        static const std::string_view taken[] = {"Event",       "Site",     "Date",     "Round", "White",
                                                 "Black",       "Result",   "Variant",  "FEN",   "SetUp",
                                                 "TimeControl", "WhiteElo", "BlackElo", "Setup"};
        for (const OtherTag& other : game.otherTags)
            if (isSymbol(other.name) && std::find(std::begin(taken), std::end(taken), other.name) == std::end(taken))
                tag(other.name, other.value);
        out_ += '\n';
    }

    // "{[%clk 0:02:58]}": whole seconds, never below zero, which other programs do not read.
    static std::string clock(int seconds) {
        const int s = std::max(seconds, 0);
        char text[48];
        std::snprintf(text, sizeof text, "{[%%clk %d:%02d:%02d]}", s / 3600, s / 60 % 60, s % 60);
        return text;
    }

    // Every black move is numbered too ("12... Nf6"): a clock comment comes before it.
    void appendLine(const GameNode* node) {
        for (; node; node = node->firstChild()) {
            if (std::strcmp(node->moveText, "Analysis") == 0) {
                analysis_ = true;
                return;
            }
            const bool mark = isMark(node->annotation);
            text_.word(std::to_string(node->moveNumber) + (node->whiteMoved() ? ". " : "... ") +
                       standardMoveText(*node, true) + (mark ? *node->annotation : ""));
            text_.word(clock(node->clockSeconds));
            if (node->annotation && !mark) text_.comment(*node->annotation);
            if (node->comment) text_.comment(*node->comment);
            appendVariations(*node, text_, [this](const GameNode* first) { appendLine(first); });
        }
    }

    std::string& out_;
    WrappedText text_;
    bool analysis_ = false;
};

// BPGN as the public archives write it, for a bughouse game.
class ArchiveWriter {
public:
    explicit ArchiveWriter(std::string& out) : out_(out), text_(out) {}

    void write(const CGame& game) {
        appendHeader(game);
        if (game.root->comment) text_.comment("C:" + *game.root->comment);
        appendLine(game.root->firstChild());
        // The closing comment and result on a line of their own, glued to the moves.
        text_.endLine();
        text_.comment(game.resultDescription);
        text_.word(isResult(game.Result) ? game.Result : "*");
        text_.endLine();
        out_ += '\n';
    }

private:
    void tag(const char* name, const std::string& value) {
        out_ += '[';
        out_ += name;
        out_ += " \"";
        out_ += value;
        out_ += "\"]";
    }

    void player(const char* name, const std::string& player, const char* ratingName, int rating) {
        tag(name, player);
        tag(ratingName, std::to_string(rating));
        out_ += '\n';
    }

    void appendHeader(const CGame& game) {
        tag("Event", game.Event);
        out_ += '\n';
        tag("Site", game.Site);
        out_ += '\n';
        tag("Date", game.Date);
        out_ += '\n';
        player("WhiteA", game.WhiteA, "WhiteAElo", game.WhiteAElo);
        player("BlackA", game.BlackA, "BlackAElo", game.BlackAElo);
        player("WhiteB", game.WhiteB, "WhiteBElo", game.WhiteBElo);
        player("BlackB", game.BlackB, "BlackBElo", game.BlackBElo);
        tag("TimeControl", std::to_string(game.baseSeconds) + '+' + std::to_string(game.incrementSeconds));
        out_ += '\n';
        tag("Result", game.Result);
        out_ += '\n';
        for (const OtherTag& other : game.otherTags) {
            out_ += other.text;
            out_ += '\n';
        }
        out_ += '\n';
    }

    // "12A. Nf3!{170}": the move, its mark and the mover's seconds left.
    void appendLine(const GameNode* node) {
        for (; node; node = node->firstChild()) {
            std::string move;
            appendMoveNumber(*node, move);
            const bool mark = isMark(node->annotation);
            move += ' ' + standardMoveText(*node, false) + (mark ? *node->annotation : "") + '{' +
                    std::to_string(node->clockSeconds) + '}';
            text_.word(move);
            if (node->annotation && !mark) text_.comment("A:" + *node->annotation);
            if (node->comment) text_.comment("C:" + *node->comment);
            appendVariations(*node, text_, [this](const GameNode* first) { appendLine(first); });
        }
    }

    std::string& out_;
    WrappedText text_;
};

// Hands every game of the text to `take` with the importer's reason for any it skips: the games
// as the reader takes them when it takes the whole text, else as the importer does. False when
// `take` stopped it.
bool forEachGame(std::string text, const std::function<bool(std::unique_ptr<CGame>, const std::string&)>& take) {
    bool readable;
    {
        GameFileReader probe(text);
        while (probe.next()) {
        }
        readable = probe.stopLine() == 0;
    }
    if (readable) {
        GameFileReader reader(std::move(text));
        while (auto game = reader.next())
            if (!take(std::move(game), {})) return false;
        return true;
    }
    std::istringstream in(std::move(text));
    GameImporter importer(in);
    for (ImportedGame imported; importer.next(imported);)
        if (!take(std::move(imported.game), imported.skipReason)) return false;
    return true;
}

}  // namespace

bool appendForOtherPrograms(const CGame& game, std::string& out, std::string& why) {
    if (!game.root) {
        why = "its moves were not replayed";
        return false;
    }
    std::string text;
    if (game.isBughouse()) ArchiveWriter(text).write(game);
    else if (!PgnWriter(text).write(game, why)) return false;
    out += text;
    return true;
}

bool exportGames(std::string text, std::ostream& out, std::ostream& report, ExportTally& tally) {
    return forEachGame(std::move(text), [&](std::unique_ptr<CGame> game, const std::string& skipped) {
        const int number = ++tally.games;
        std::string why = skipped, written;
        if (game && !game->replayGame()) {
            why = replayFailure(*game);
        } else if (game && game->movesReadUpTo) {
            why = "moves read only up to line " + std::to_string(game->movesReadUpTo->line) + ", column " +
                  std::to_string(game->movesReadUpTo->column) + " of its move text";
        } else if (game && appendForOtherPrograms(*game, written, why)) {
            out.write(written.data(), static_cast<std::streamsize>(written.size()));
            if (!out) return false;
            ++tally.exported;
            report << number << " ok\n";
            return true;
        }
        report << number << " skipped " << why << '\n';
        return true;
    });
}

}  // namespace tandemora
