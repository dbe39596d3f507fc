// tandemora-cli build-index and search: position indexes over a game database.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <ostream>

#include "core/fen.h"
#include "database/index_group.h"
#include "database/index_writer.h"
#include "tools/commands.h"
#include "tools/console_progress.h"
#include "tools/number_argument.h"

namespace tandemora {

namespace {

// The options after the fixed arguments: "--name value" pairs, "--flag" switches, and
// "--clock up 30", whose two words are kept as one value.
class Options {
public:
    Options(const std::vector<std::string>& args, const std::vector<std::string>& flags) {
        for (size_t i = 0; i < args.size(); ++i) {
            const std::string& name = args[i];
            const bool isFlag = std::find(flags.begin(), flags.end(), name) != flags.end();
            const size_t words = isFlag ? 0 : name == "--clock" ? 2 : 1;
            if (name.rfind("--", 0) != 0 || args.size() - 1 - i < words) {
                bad_ = name;
                return;
            }
            std::string value;
            for (size_t w = 0; w < words; ++w) value += (w ? " " : "") + args[++i];
            values_.emplace_back(name, value);
        }
    }
    // The option that could not be read, or empty.
    const std::string& bad() const { return bad_; }
    bool has(const std::string& name) const { return find(name) != nullptr; }
    const std::string* find(const std::string& name) const {
        for (const auto& [key, value] : values_)
            if (key == name) return &value;
        return nullptr;
    }
    // Reads a number option into `value`; false (and the option noted as bad) when it is no number.
    bool number(const std::string& name, int& value) {
        const std::string* text = find(name);
        if (!text) return true;
        if (readInt(*text, value)) return true;
        bad_ = name + " " + *text;
        return false;
    }
    // Every option name given, to refuse unknown ones.
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& entry : values_) out.push_back(entry.first);
        return out;
    }

private:
    std::vector<std::pair<std::string, std::string>> values_;
    std::string bad_;
};

// Up to three decimals, without trailing zeros: "12.5", "0.042", "3".
std::string milliseconds(double value) {
    std::string text = std::to_string(std::llround(value * 1000) / 1000.0);
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') text.pop_back();
    return text;
}

bool onlyKnown(const Options& options, const std::vector<std::string>& known, std::ostream& err) {
    for (const std::string& name : options.names())
        if (std::find(known.begin(), known.end(), name) == known.end()) {
            err << "unknown option " << name << '\n';
            return false;
        }
    return true;
}

// Loads every main index, then the white or black index of each that a position search needs
// (here rather than on the search's question, so that an error names the file it is about).
// Each database is looked for in `databaseFolder`, by default its index's own folder.
bool loadIndexes(IndexGroup& group, const std::vector<std::string>& indexPaths, const std::string* databaseFolder,
                 const Board* position, ConsoleProgress& progress) {
    for (const std::string& path : indexPaths) {
        const std::filesystem::path own = std::filesystem::path(path).parent_path();
        progress.setErrorSubject(path);
        if (!group.addIndex(path, databaseFolder ? *databaseFolder : own.empty() ? "." : own.string())) return false;
    }
    if (!position) return true;
    const bool white = position->sideToMove == 1;
    for (size_t i = 0; i < group.size(); ++i) {
        const std::string path = group.index(i).mainIndexPath() + (white ? "WP" : "BP");
        progress.setErrorSubject(path);
        if (!group.index(i).loadIndexFile(white ? kWhiteIndexFile : kBlackIndexFile, path)) return false;
    }
    return true;
}

// The result lines, then the database offsets of each line's games: "KEY: offsets" for one
// index, "KEY (DATABASE): offsets" for each database with games under the line for several.
void printResults(const IndexGroup& group, std::ostream& out) {
    for (const std::string& line : group.resultList()) out << line << '\n';
    for (const std::string& line : group.resultList()) {
        const std::string key = line.substr(0, line.find(' '));
        const auto entry = group.results().find(key);
        if (entry == group.results().end()) continue;
        for (const DatabaseGames& database : entry->second.databases) {
            out << key;
            if (group.size() > 1) out << " (" << database.databasePath << ')';
            out << ':';
            for (int32_t offset : database.offsets) out << ' ' << offset;
            out << '\n';
        }
    }
}

}  // namespace

int buildIndexCommand(const std::string& databasePath, const std::string& indexPath,
                      const std::vector<std::string>& optionArgs, std::ostream& out, std::ostream& err) {
    Options options(optionArgs, {});
    IndexSettings settings;
    settings.indexPath = indexPath;
    settings.databasePath = databasePath;
    settings.databaseName = std::filesystem::path(databasePath).filename().string();
    const std::string* type = options.find("--type");
    if (!options.bad().empty() || !onlyKnown(options, {"--players", "--type", "--average", "--minimum", "--player-rating"}, err) ||
        !options.number("--average", settings.averageMin) || !options.number("--minimum", settings.minimumMin) ||
        !options.number("--player-rating", settings.playerRatingMin) ||
        (type && *type != "bughouse" && *type != "crazyhouse")) {
        err << "build-index: cannot use " << (options.bad().empty() ? "the options" : options.bad()) << '\n';
        return kExitUsage;
    }
    settings.type = type && *type == "crazyhouse" ? 1 : 0;
    std::string message;
    settings.players = splitPlayerList(options.find("--players") ? *options.find("--players") : "", message);
    if (settings.players.empty()) {
        err << message << '\n';
        return kExitUsage;
    }
    ConsoleProgress progress(out, err, isatty(STDERR_FILENO));
    return createIndexFiles(settings, progress) ? kExitOk : kExitFailed;
}

int searchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    // The indexes come first, then the options.
    const auto firstOption =
        std::find_if(args.begin(), args.end(), [](const std::string& arg) { return arg.rfind("--", 0) == 0; });
    const std::vector<std::string> indexPaths(args.begin(), firstOption), optionArgs(firstOption, args.end());
    if (indexPaths.empty()) {
        err << "search: name the index before the options\n";
        return kExitUsage;
    }
    const std::vector<std::string> flags = {"--general", "--won", "--mate", "--teammates", "--opponents",
                                            "--player1-positional", "--scan", "--timing"};
    Options options(optionArgs, flags);
    std::vector<std::string> known = flags;
    for (const char* name : {"--fen", "--date", "--time", "--increment", "--average", "--minimum", "--material",
                             "--clock", "--player1", "--player2", "--player3", "--player4", "--victory",
                             "--database-dir"})
        known.push_back(name);
    SearchPageValues values;
    int victory = 1;
    bool usable = options.bad().empty() && onlyKnown(options, known, err) &&
                  options.number("--time", values.timeLimit) && options.number("--increment", values.increment) &&
                  options.number("--average", values.averageRating) &&
                  options.number("--minimum", values.minimumRating) && options.number("--victory", victory) &&
                  victory >= 1 && victory <= 4;
    values.victoryPlayer = victory - 1;
    values.positional = !options.has("--general");
    values.wonOnly = options.has("--won");
    values.mateOrResign = options.has("--mate");
    values.teammates = options.has("--teammates");
    values.opponents = options.has("--opponents");
    values.player1Positional = options.has("--player1-positional");
    if (const std::string* date = options.find("--date")) values.dateText = *date;
    if (const std::string* material = options.find("--material")) values.materialText = *material;
    if (const std::string* clock = options.find("--clock")) {
        // "up 30" or "down 30".
        const size_t blank = clock->find(' ');
        const std::string direction = clock->substr(0, blank);
        usable = usable && blank != std::string::npos && (direction == "up" || direction == "down") &&
                 readInt(clock->substr(blank + 1), values.clockSeconds);
        values.upDown = direction == "down" ? 1 : 0;
    }
    for (int player = 0; player < 4; ++player) {
        const std::string* given = options.find("--player" + std::to_string(player + 1));
        if (!given) continue;
        // NAME, NAME:RATING or :RATING.
        const size_t colon = given->rfind(':');
        values.handles[player] = given->substr(0, colon);
        if (colon != std::string::npos) usable = usable && readInt(given->substr(colon + 1), values.ratings[player]);
    }
    Board position;
    const std::string* fen = options.find("--fen");
    if (values.positional && (!fen || !parseFen(*fen, position))) {
        err << (fen ? "search: the position is not one the program writes: " + *fen
                    : std::string("search: give a position with --fen, or --general"))
            << '\n';
        return kExitUsage;
    }
    if (!usable) {
        err << "search: cannot use " << (options.bad().empty() ? "the options" : options.bad()) << '\n';
        return kExitUsage;
    }

    ConsoleProgress progress(out, err, isatty(STDERR_FILENO));
    IndexGroup group(progress);
    group.setFullScan(options.has("--scan"));
    using Clock = std::chrono::steady_clock;
    const Clock::time_point loadStart = Clock::now();
    if (!loadIndexes(group, indexPaths, options.find("--database-dir"), values.positional ? &position : nullptr,
                     progress))
        return kExitFailed;
    progress.setErrorSubject("search");
    const Clock::time_point searchStart = Clock::now();
    if (!group.prepareSearch(values, values.positional ? &position : nullptr, [](const std::string&) { return true; }))
        return kExitFailed;
    group.runSearch();
    const Clock::time_point searchEnd = Clock::now();
    printResults(group, out);
    if (options.has("--timing")) {
        out.flush();
        const auto ms = [](Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); };
        err << "load " << milliseconds(ms(searchStart - loadStart)) << " ms, search "
            << milliseconds(ms(searchEnd - searchStart)) << " ms\n";
    }
    return kExitOk;
}

}  // namespace tandemora
