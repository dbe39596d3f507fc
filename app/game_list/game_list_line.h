// The line a game list shows for one game: its players with their ratings, time control and
// result, in the form its Event names.
#pragma once

#include <string>

namespace tandemora {

class CGame;

std::string gameListLine(const CGame& game);

}  // namespace tandemora
