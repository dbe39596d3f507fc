// The commands of tandemora-cli. Each returns the program's exit status.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tandemora {

// Exit statuses of tandemora-cli.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;  // a game did not read or replay, or a file could not be read or written
constexpr int kExitUsage = 2;
constexpr int kExitPartial = 3;  // every game was read, but the moves of one were read only up to a point

// Reads and replays every game of the files; one line per game on `out`.
int checkCommand(const std::vector<std::string>& paths, std::ostream& out);

// Reads, replays and writes back every game of `inPath` into `outPath`; problems go to `err`.
int rewriteCommand(const std::string& inPath, const std::string& outPath, std::ostream& err);

// Imports the games of foreign records into `outPath` in the native dialect; one line per
// game on `report`, problems on `err`.
int importCommand(const std::vector<std::string>& inPaths, const std::string& outPath, std::ostream& report,
                  std::ostream& err);

// Writes the games of a BPGN file (or what the importer takes of it) for other programs; `args`
// are IN, "-o" OUT and "--pgn". One line per game on `report`, problems on `err`.
int exportCommand(const std::vector<std::string>& args, std::ostream& report, std::ostream& err);

// Merges every ".bpgn" file of `folder` into the database, with the messages of the build on `out`.
int buildDatabaseCommand(const std::string& folder, const std::string& databasePath, std::ostream& out);

// Prints the games at database offsets, and the games around one offset.
int gamesCommand(const std::string& databasePath, const std::vector<std::string>& offsets, std::ostream& out,
                 std::ostream& err);
int nearbyCommand(const std::string& databasePath, const std::string& offset, const std::string& before,
                  const std::string& after, std::ostream& out, std::ostream& err);

// Writes the main, white and black indexes of a database; `options` are "--players", "--type",
// "--average", "--minimum" and "--player-rating" with their values.
int buildIndexCommand(const std::string& databasePath, const std::string& indexPath,
                      const std::vector<std::string>& options, std::ostream& out, std::ostream& err);

// Searches one index, or several as one, for a position (--fen) or generally (--general) with the
// search pages' filters, printing the result lines and then the database offsets of each line's
// games. `args` are the indexes, then the options.
int searchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Evaluates every main-line move of the games with the engine, one line per move on `out`;
// `args` are the file and the options "--movetime", "--game", "-o" and "--engine" with their values.
int analyseCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tandemora
