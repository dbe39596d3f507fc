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
        QPoint place;
        bool queenFirst = false;
        whenModal(QStringLiteral("Promote"), [&](QDialog& dialog) {
            size = dialog.size();
            place = dialog.pos();
            queenFirst = control<QRadioButton>(dialog, "1005").isChecked();
            if (c.button) QTest::mouseClick(&control<QRadioButton>(dialog, c.button), Qt::LeftButton);
            else QTest::keyClick(&dialog, Qt::Key_Escape);
        });
        EXPECT_EQ(choosePromotion(nullptr, QPoint(140, 60)), c.piece);
        EXPECT_EQ(size, QSize(79, 110));
        EXPECT_EQ(place, QPoint(140, 60));
        EXPECT_TRUE(queenFirst);
    }
}

TEST(PromotionDialog, StaysWhollyOnTheScreen) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    for (const QPoint asked : {screen.bottomRight(), screen.topLeft() - QPoint(30, 30)}) {
        QRect placed;
        whenModal(QStringLiteral("Promote"), [&](QDialog& dialog) {
            placed = dialog.frameGeometry();
            dialog.reject();
        });
        choosePromotion(nullptr, asked);
        EXPECT_TRUE(screen.contains(placed)) << asked.x() << "," << asked.y();
    }
}
