#include "app/game_list/game_list_line.h"

#include "game/game.h"

namespace tandemora {

namespace {

bool contains(const std::string& text, const char* word) { return text.find(word) != std::string::npos; }

}  // namespace

std::string gameListLine(const CGame& game) {
    const auto elo = game.eloTexts();  // WhiteA, BlackA, WhiteB, BlackB
    std::string line;
    auto player = [&line](const std::string& name, const std::string& rating) {
        line.append(name).append("(").append(rating).append(")");
    };
    // Exactly these spellings decide the form; "BUGHOUSE" is an unknown event here.
    if (contains(game.Event, "bughouse") || contains(game.Event, "Bughouse")) {
        line = "Bughouse: ";
        player(game.WhiteA, elo[0]);
        line += '/';
        player(game.BlackB, elo[3]);
        line += " vs ";
        player(game.BlackA, elo[1]);
        line += '/';
        player(game.WhiteB, elo[2]);
    } else if (contains(game.Event, "crazyhouse") || contains(game.Event, "Crazyhouse")) {
        line = "Crazyhouse: ";
        player(game.WhiteA, elo[0]);
        line += " vs ";
        player(game.BlackA, elo[1]);
    } else {
        line = "Unknown event: ";
        player(game.WhiteA, elo[0]);
        line += '/';
        player(game.BlackA, elo[1]);
        line += " vs ";
        player(game.WhiteB, elo[2]);
        line += '/';
        player(game.BlackB, elo[3]);
    }
    line.append(" ").append(std::to_string(game.baseSeconds / 60));
    line.append(" ").append(std::to_string(game.incrementSeconds));
    line.append(" ").append(game.Result);
    return line;
}

}  // namespace tandemora
