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

// Reads and replays every game of the files; one line per game on `out`.
int checkCommand(const std::vector<std::string>& paths, std::ostream& out);

// Reads, replays and writes back every game of `inPath` into `outPath`; problems go to `err`.
int rewriteCommand(const std::string& inPath, const std::string& outPath, std::ostream& err);

// Imports the games of foreign records into `outPath` in the native dialect; one line per
// game on `report`, problems on `err`.
int importCommand(const std::vector<std::string>& inPaths, const std::string& outPath, std::ostream& report,
                  std::ostream& err);

}  // namespace tandemora
