#include "app/game_list/game_list_line.h"

#include "game/game.h"

namespace tandemora {

namespace {

bool contains(const std::string& text, const char* word) { return text.find(word) != std::string::npos; }

}  // namespace

std::string gameListLine(const CGame& game) {
    enum { kWhiteA, kBlackA, kWhiteB, kBlackB };
    const auto elo = game.eloTexts();
    const std::string* names[] = {&game.WhiteA, &game.BlackA, &game.WhiteB, &game.BlackB};
    std::string line;
    auto player = [&](int seat) { line.append(*names[seat]).append("(").append(elo[seat]).append(")"); };
    // "first/second vs third/fourth"
    auto pairs = [&](int first, int second, int third, int fourth) {
        player(first);
        line += '/';
        player(second);
        line += " vs ";
        player(third);
        line += '/';
        player(fourth);
    };
    // Exactly these spellings decide the form; "BUGHOUSE" is an unknown event here.
    if (contains(game.Event, "bughouse") || contains(game.Event, "Bughouse")) {
        line = "Bughouse: ";
        pairs(kWhiteA, kBlackB, kBlackA, kWhiteB);  // partners side by side
    } else if (contains(game.Event, "crazyhouse") || contains(game.Event, "Crazyhouse")) {
        line = "Crazyhouse: ";
        player(kWhiteA);
        line += " vs ";
        player(kBlackA);
    } else {
        line = "Unknown event: ";
        pairs(kWhiteA, kBlackA, kWhiteB, kBlackB);  // board A against board B
    }
    line.append(" ").append(std::to_string(game.baseSeconds / 60));
    line.append(" ").append(std::to_string(game.incrementSeconds));
    line.append(" ").append(game.Result);
    return line;
}

}  // namespace tandemora
