// The promotion chooser: one click chooses, Escape chooses nothing.
#include <gtest/gtest.h>

#include <QDialog>
#include <QGuiApplication>
#include <QRadioButton>
#include <QScreen>
#include <QTest>

#include "board/promotion_dialog.h"
#include "tests/modal_driver.h"

using namespace dialog_test;
using namespace tandemora;

TEST(PromotionDialog, OneClickChoosesAndEscapeChoosesNothing) {
    const struct {
        const char* button;  // none: Escape
        char piece;
    } cases[] = {{"1005", 'Q'}, {"1006", 'N'}, {"1007", 'R'}, {"1008", 'B'}, {nullptr, 0}};
    for (const auto& c : cases) {
        QSize size;
        bool queenFirst = false;
        whenModal(QStringLiteral("Promote"), [&](QDialog& dialog) {
            size = dialog.size();
            queenFirst = control<QRadioButton>(dialog, "1005").isChecked();
            if (c.button) QTest::mouseClick(&control<QRadioButton>(dialog, c.button), Qt::LeftButton);
            else QTest::keyClick(&dialog, Qt::Key_Escape);
        });
        EXPECT_EQ(choosePromotion(nullptr, QPoint(140, 60)), c.piece);
        EXPECT_EQ(size, QSize(79, 110));
        EXPECT_TRUE(queenFirst);
    }
}

TEST(PromotionDialog, OpensAtTheGivenCornerAsFarAsTheScreenAllows) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QPoint farthest = screen.bottomRight() - QPoint(78, 109);
    const struct {
        QPoint asked, placed;
    } cases[] = {
        {{140, 60}, {140, 60}},
        {screen.bottomRight() - QPoint(10, 10), farthest},
        {{screen.right() - 10, 60}, {farthest.x(), 60}},
        {screen.topLeft() - QPoint(30, 30), screen.topLeft()},
    };
    for (const auto& c : cases) {
        QPoint place;
        whenModal(QStringLiteral("Promote"), [&](QDialog& dialog) {
            place = dialog.pos();
            dialog.reject();
        });
        choosePromotion(nullptr, c.asked);
        EXPECT_EQ(place, c.placed) << c.asked.x() << "," << c.asked.y();
    }
}
