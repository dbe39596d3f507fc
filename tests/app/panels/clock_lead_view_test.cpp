// The clock-lead graph on its own: it marks the shown move, goes to the move under a click or a
// drag, and never moves the game by itself.
#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include "app/panels/clock_lead_view.h"
#include "tests/game/test_games.h"

namespace {

using namespace tandemora_test;
using tandemora::ClockLeadView;

// The column of the red mark in the drawn graph, or -1.
int markColumn(ClockLeadView& view) {
    const QImage image = view.grab().toImage();
    for (int x = 0; x < image.width(); ++x) {
        int red = 0;
        for (int y = 0; y < image.height(); ++y) red += image.pixelColor(x, y) == QColor(200, 0, 0);
        if (red > image.height() / 3) return x;
    }
    return -1;
}

void dragTo(ClockLeadView& view, QPoint point) {
    QMouseEvent move(QEvent::MouseMove, point, view.mapToGlobal(point), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&view, &move);
}

TEST(ClockLeadView, MarksTheShownMoveAndAClickOrDragGoesToTheMoveUnderIt) {
    auto game = openOne(gameText("1A. e4 {175} 1B. d4 {170} 1a. e5 {172} (1a. c5 {100}) 1b. d5 {160}", "Bughouse game"));
    ASSERT_TRUE(game);
    GameNode* d4 = game->root->firstChild()->firstChild();
    GameNode* c5 = d4->children.at(1).get();
    ClockLeadView view;
    view.resize(400, 200);

    // Being shown and told of the position changes nothing in the game.
    game->moveTo(c5);
    const unsigned revision = game->treeRevision;
    view.showGame(game.get());
    view.positionChanged();
    const int d4Column = markColumn(view);  // a variation is marked where it leaves the main line
    EXPECT_EQ(game->current, c5);
    EXPECT_EQ(game->treeRevision, revision);
    EXPECT_FALSE(game->modified);
    game->moveTo(d4);
    EXPECT_EQ(markColumn(view), d4Column);
    ASSERT_GT(d4Column, 0);

    game->toStart();
    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(d4Column, 100));
    EXPECT_EQ(game->current, d4);
    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(0, 100));  // left of the graph: the start
    EXPECT_EQ(game->current, game->root.get());
    dragTo(view, QPoint(399, 50));
    EXPECT_EQ(game->current, game->mainLineEnd());
    EXPECT_EQ(game->treeRevision, revision);

    // A move added on the board rebuilds the graph, which reaches it.
    ASSERT_TRUE(play(*game, "A:Nf3"));
    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(399, 100));
    EXPECT_STREQ(game->current->moveText, "Nf3");

    view.showGame(nullptr);
    game.reset();
    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(200, 100));  // no game: nothing to go to
    EXPECT_EQ(markColumn(view), -1);
}

}  // namespace
