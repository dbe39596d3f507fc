// Where the engine's program is found.
#pragma once

#include <string>

namespace tandemora {

// Where Debian's fairy-stockfish package puts the program.
inline constexpr const char* kDefaultEnginePath = "/usr/games/fairy-stockfish";

// What to tell a user whose engine cannot be started; `where` names how to give its program.
std::string engineMissingMessage(const std::string& where = "give its program with --engine");

// The program to start: `chosen` when given, else the default path when it is executable,
// else "fairy-stockfish" found on PATH; empty when there is none.
std::string resolveEnginePath(const std::string& chosen = {});

}  // namespace tandemora
