// Feeds arbitrary bytes to the BPGN reader, replays what it reads, and checks that whatever
// the program writes back reads again to the same move text.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "game/game.h"
#include "game/messages.h"

namespace {

class SilentSink : public tandemora::MessageSink {
public:
    void showMessage(const std::string&) override {}
};

std::string written(tandemora::CGame& game) {
    std::ostringstream out;
    if (!game.storeGameToStream(out)) std::abort();
    return out.str();
}

// A move list as read keeps the line break that ends it; as written from a tree it has none.
std::string withoutFinalBreak(std::string moves) {
    if (!moves.empty() && moves.back() == '\n') moves.pop_back();
    return moves;
}

// A written game followed by another game must read back to the same moves and closing
// comment, and must leave the next game whole.
void checkReadsBack(const std::string& text, const std::string& moves, const std::string& description) {
    static const std::string sentinel = "[Event \"Crazyhouse game\"]\n\n1A. e4 {180}\n\n{*} *\n";
    std::istringstream in(text + sentinel);
    tandemora::CGame again, next;
    if (!again.readGame(in) || withoutFinalBreak(again.moveBuffer.value_or("")) != withoutFinalBreak(moves) ||
        again.resultDescription != description)
        std::abort();
    if (!next.readGame(in) || next.moveBuffer != "1A. e4 {180}\n") std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static SilentSink sink;
    tandemora::setMessageSink(&sink);
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    for (int games = 0; games < 4; ++games) {
        tandemora::CGame game;
        if (!game.readGame(in)) break;
        // Unopened: the kept move text goes out as it came in.
        const std::string kept = game.moveBuffer.value_or("");
        std::string text = written(game);
        checkReadsBack(text, kept, game.resultDescription);
        if (!game.replayGame()) continue;
        // Replayed: the written move list must replay to the same list again.
        text = written(game);
        const std::string moves = game.moveBuffer.value_or("");
        checkReadsBack(text, moves, game.resultDescription);
        tandemora::CGame again;
        std::istringstream reread(text);
        if (!again.readGame(reread) || !again.replayGame()) std::abort();
        if (written(again) != text) std::abort();
    }
    return 0;
}
