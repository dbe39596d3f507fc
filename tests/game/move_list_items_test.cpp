#include "game/move_list_items.h"

#include <gtest/gtest.h>

#include "game/game_parameters.h"
#include "tests/game/test_games.h"

namespace tandemora_test {
namespace {

// The items as text: moves as "12A.Nf3!", comments in braces, brackets with their depth.
std::string itemsText(CGame& game) {
    std::string text;
    for (const MoveListItem& item : moveListItems(*game.root)) {
        if (!text.empty()) text += ' ';
        switch (item.kind) {
        case MoveListItem::Kind::kMove:
            appendMoveNumber(*item.node, text);
            text += item.node->moveText + item.node->annotation.value_or("");
            break;
        case MoveListItem::Kind::kComment: text += '{' + *item.node->comment + '}'; break;
        case MoveListItem::Kind::kVariationStart: text += std::to_string(item.depth) + '('; break;
        case MoveListItem::Kind::kVariationEnd: text += ')' + std::to_string(item.depth); break;
        }
    }
    return text;
}

TEST(MoveListItems, BothBoardsInTheOrderPlayedWithVariationsNestedWhereBpgnWritesThem) {
    auto game = openOne(gameText("{C:start} 1A. e4 {179} {A:!} {C:central} 1B. d4 {178} "
                                 "(1B. e4 {177} 1b. e5 {176} (1b. c5 {175}) 1a. c5 {170}) (1B. Nf3 {174}) "
                                 "1b. d5 {173} 1a. e5 {172} 2A. Nf3 {171}",
                                 "Bughouse game"));
    ASSERT_TRUE(game);
    EXPECT_EQ(itemsText(*game), "{start} 1A.e4! {central} 1B.d4 1( 1B.e4 1b.e5 2( 1b.c5 )2 1a.c5 )1 1( 1B.Nf3 )1 "
                                "1b.d5 1a.e5 2A.Nf3");
}

TEST(MoveListItems, ClocksReadAsMinutesAndSeconds) {
    const std::pair<int, const char*> cases[] = {{0, "0:00"}, {5, "0:05"}, {65, "1:05"}, {3600, "60:00"}, {-7, "-0:07"}};
    for (const auto& [seconds, text] : cases) EXPECT_EQ(clockText(seconds), text) << seconds;
}

// Views of the tree build themselves again when its revision changes: every edit of the tree
// must change it.
TEST(MoveListItems, EveryEditOfTheTreeChangesItsRevision) {
    auto game = openOne(gameText("1A. e4 {179} 1a. e5 {178}"));
    ASSERT_TRUE(game);
    GameParameters parameters = gameParameters(*game);
    parameters.baseSeconds = "300";
    const std::pair<const char*, std::function<void()>> edits[] = {
        {"typed move", [&] { ASSERT_TRUE(play(*game, "A:Nf3")); }},
        {"move information", [&] { game->applyMoveInfoEdits({"100", "!", "note"}); }},
        {"deleted move", [&] { game->deleteCurrentMove(); }},
        {"base time", [&] { applyGameParameters(*game, parameters); }},
    };
    game->toEnd();
    for (const auto& [name, edit] : edits) {
        const unsigned before = game->treeRevision;
        edit();
        EXPECT_NE(game->treeRevision, before) << name;
    }
}

}  // namespace
}  // namespace tandemora_test
