// tandemora-cli: checks and normalises BPGN game archives from scripts.
#include <exception>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "game/file_replacement.h"
#include "tools/commands.h"

namespace {

const char kUsage[] =
    "usage: tandemora-cli check FILE...\n"
    "       tandemora-cli rewrite IN OUT\n"
    "       tandemora-cli import IN... -o OUT\n"
    "       tandemora-cli export IN -o OUT --pgn\n"
    "       tandemora-cli build-db FOLDER DB\n"
    "       tandemora-cli games DB OFFSET...\n"
    "       tandemora-cli nearby DB OFFSET BEFORE AFTER\n"
    "       tandemora-cli build-index DB INDEX --players \"alice, bob\" [--type bughouse|crazyhouse]\n"
    "                     [--average N] [--minimum N] [--player-rating N]\n"
    "       tandemora-cli search INDEX [INDEX...] [--fen FEN | --general] [--date MM/DD/YYYY]\n"
    "                     [--time MIN] [--increment SEC] [--average N] [--minimum N] [--won] [--mate]\n"
    "                     [--material \"P N\"] [--clock up|down SECONDS] [--player1 NAME[:RATING]] ...\n"
    "                     [--player4 NAME[:RATING]] [--teammates] [--opponents] [--victory 1-4]\n"
    "                     [--player1-positional] [--database-dir DIR] [--scan] [--timing]\n"
    "       tandemora-cli analyse FILE [--movetime MS] [--game N] [-o OUT] [--engine PATH]\n"
    "\n"
    "check    reads and replays every game of each file. One line per game:\n"
    "         '<n> ok <FEN of board A>[ | <FEN of board B>]' at the end of the main line,\n"
    "         or '<n> error <why>'; games are numbered from 1 in each file. A game whose\n"
    "         moves were read only up to a point gets ' (moves read only up to line <L>,\n"
    "         column <C>)' after its FENs. A file whose\n"
    "         reading stops gets '<file>: reading stopped at line <L>: game <n> is not\n"
    "         readable'. With several files, each file's lines follow a line '<file>:'.\n"
    "         The last line is '<games> games, <failed> failed'.\n"
    "rewrite  reads and replays every game of IN and writes it to OUT as the program saves\n"
    "         it. A game that does not replay is written unchanged and reported on standard\n"
    "         error. OUT is replaced only once everything is written; when IN cannot be\n"
    "         read to its end, OUT is left unchanged. OUT may be IN.\n"
    "import   reads bughouse and crazyhouse records in the dialects players download (modern\n"
    "         BPGN, crazyhouse PGN) and writes them to OUT in the program's own. One line per\n"
    "         game: '<n> ok' or '<n> skipped <why>'; a line with the skipped games by reason;\n"
    "         then '<games> games, <imported> imported, <skipped> skipped'. OUT is replaced only\n"
    "         once everything is written.\n"
    "export   writes the games of IN (BPGN, or what import reads) to OUT for other programs:\n"
    "         crazyhouse games as standard PGN with [%clk] clocks, bughouse games as BPGN in\n"
    "         the archives' dialect. One line per game: '<n> ok' or '<n> skipped <why>'; then\n"
    "         '<games> games, <exported> exported, <skipped> skipped'.\n"
    "build-db merges every .bpgn file of FOLDER (also .bpgn.bz2 and .bpgn.gz) into the game\n"
    "         database DB (new or existing).\n"
    "games    prints the games at the database offsets given.\n"
    "nearby   prints up to BEFORE + AFTER + 1 games around the one at OFFSET.\n"
    "build-index writes INDEX, INDEXWP and INDEXBP over DB for the players listed (* for all),\n"
    "         and the position files INDEXWP.pos and INDEXBP.pos.\n"
    "search   searches INDEX for the moves played from a position (FEN as check prints it) or,\n"
    "         with --general, for all games that pass the filters; prints the result lines,\n"
    "         then '<key>: <offsets>', the database offsets of each line's games. The database\n"
    "         is looked for in --database-dir, by default the index's own folder. A position is\n"
    "         looked up in the index's position file (made when missing); --scan reads every\n"
    "         record instead. --timing prints 'load <ms> ms, search <ms> ms' last on standard\n"
    "         error. Several indexes (all before the options) are searched as one: each line\n"
    "         sums their games, and the offsets follow per database, as\n"
    "         '<key> (<database>): <offsets>' for each database with games under the key, in\n"
    "         the order of the indexes; --timing totals the loads and the searches.\n"
    "analyse  searches the position before and after every main-line move with Fairy-Stockfish\n"
    "         (--movetime milliseconds each, default 100; only game N with --game) and prints\n"
    "         '<number> <move> <before> <after> <best move>' from White's side, with ' mistake'\n"
    "         where the mover lost two pawns or a mate. With -o the games are written to OUT\n"
    "         with a comment 'Better: <move> (<evaluation>)' on each mistake.\n"
    "Files compressed with bzip2 or gzip are read like plain ones.\n"
    "\n"
    "Exit status: 0 when every game was read and replayed, or imported, or exported; 1 when\n"
    "a game or a file failed, or a game was skipped; 2 for a wrong command line or a missing engine\n"
    "(analyse); 3 (check, rewrite)\n"
    "when nothing failed but the moves of a game were read only up to a point.\n";

// Runs the command the arguments name; its exit status.
int runCommand(const std::vector<std::string>& args) {
    using namespace tandemora;
    if (args.size() == 1 && (args[0] == "-h" || args[0] == "--help")) {
        std::cout << kUsage;
        return kExitOk;
    }
    if (args.size() >= 2 && args[0] == "check") return checkCommand({args.begin() + 1, args.end()}, std::cout);
    if (args.size() == 3 && args[0] == "rewrite") return rewriteCommand(args[1], args[2], std::cerr);
    if (args.size() == 3 && args[0] == "build-db") return buildDatabaseCommand(args[1], args[2], std::cout);
    if (args.size() >= 3 && args[0] == "games")
        return gamesCommand(args[1], {args.begin() + 2, args.end()}, std::cout, std::cerr);
    if (args.size() == 5 && args[0] == "nearby")
        return nearbyCommand(args[1], args[2], args[3], args[4], std::cout, std::cerr);
    if (args.size() >= 3 && args[0] == "build-index")
        return buildIndexCommand(args[1], args[2], {args.begin() + 3, args.end()}, std::cout, std::cerr);
    if (args.size() >= 2 && args[0] == "search")
        return searchCommand({args.begin() + 1, args.end()}, std::cout, std::cerr);
    if (args.size() >= 2 && args[0] == "analyse")
        return analyseCommand({args.begin() + 1, args.end()}, std::cout, std::cerr);
    if (args.size() >= 2 && args[0] == "export") return exportCommand({args.begin() + 1, args.end()}, std::cout, std::cerr);
    if (args.size() >= 4 && args[0] == "import" && args[args.size() - 2] == "-o")
        return importCommand({args.begin() + 1, args.end() - 2}, args.back(), std::cout, std::cerr);
    std::cerr << kUsage;
    return kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
    tandemora::ignoreFileSizeLimitSignal();
    // A command that cannot go on (out of memory, say) stops with its reason instead of aborting.
    const auto stopped = [&](const char* reason) {
        std::cerr << "tandemora-cli: " << (argc > 1 ? argv[1] : "") << " stopped: " << reason << '\n';
        return tandemora::kExitFailed;
    };
    try {
        return runCommand(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::bad_alloc&) {
        return stopped("not enough memory");
    } catch (const std::exception& error) {
        return stopped(error.what());
    }
}
