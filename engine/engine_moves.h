// The engine's coordinate moves ("e2e4", "e7e8q", "e1g1", "P@d5") in the program's notation.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/board.h"
#include "engine/engine_variant.h"

namespace tandemora {

// Plays a coordinate move for the side to move of `board` by the rules, giving its notation
// ("Nxe5", "P@f7+", "O-O", "exd6", "e8=Q", "Nbd2"). A capture fills the mover's pocket in
// crazyhouse and nothing in bughouse, where it goes to the partner. Nothing, with `board`
// unchanged, for text that is no legal move.
std::optional<std::string> playEngineMove(Board& board, std::string_view coordinates, EngineVariant variant);

// The notations of the leading legal moves of an engine line from `board`, stopping at the
// first move that is not legal.
std::vector<std::string> translateLine(const Board& board, const std::vector<std::string>& coordinates,
                                       EngineVariant variant);

}  // namespace tandemora
