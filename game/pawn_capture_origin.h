// Pawn captures some servers write without the file the pawn comes from: "xe6" for "dxe6".
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/rules.h"

namespace tandemora {

// True for a move text such as "xe6", "xd8=Q" or "xe6+": an 'x' and the square taken.
bool lacksPawnCaptureOrigin(std::string_view move);

// The moves with the origin file added ("dxe6", "fxe6") that a pawn of the mover can make in
// the position of `rules`, tried on a copy, so the position itself stays as it is; en passant
// asks the same host as the real move would.
std::vector<std::string> pawnCapturesWithOrigin(const BoardRules& rules, RulesHost& host, std::string_view move,
                                                bool white);

}  // namespace tandemora
