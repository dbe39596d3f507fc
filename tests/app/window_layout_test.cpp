#include "app/window_layout.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <gtest/gtest.h>

#include "app/window_placement.h"

namespace tandemora {
namespace {

std::int32_t int32At(const LayoutBytes& bytes, std::size_t offset) {
    return static_cast<std::int32_t>(bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16 |
                                     static_cast<std::uint32_t>(bytes[offset + 3]) << 24);
}

WindowLayout sampleLayout() {
    WindowLayout layout;
    layout.mainWindow = WindowPlacement::of(kShowMaximized, 10, 20, 810, 620);
    for (int i = 0; i < 4; ++i) layout.boards[i] = WindowPlacement::of(kShowNormal, -5 - i, 3, 475 + i, 483);
    layout.boardCount = 4;
    layout.lists[0] = WindowPlacement::of(kShowMinimized, 1, 2, 3, 4);
    layout.listCount = 1;
    layout.indexes[0] = WindowPlacement::of(kShowNormal, 100, 200, 300, 400);
    layout.indexes[1] = WindowPlacement::of(kShowNormal, 110, 210, 310, 410);
    layout.indexCount = 2;
    return layout;
}

TEST(WindowLayout, RecordLiesAtItsOffsetsInTheLayoutFile) {
    LayoutBytes bytes{};
    const WindowLayout layout = sampleLayout();
    writeLayout(bytes, 2, layout);

    const std::size_t record = 2 * kLayoutSize;
    EXPECT_EQ(int32At(bytes, record), 44);                 // main placement: length
    EXPECT_EQ(int32At(bytes, record + 8), 3);              // show state
    EXPECT_EQ(int32At(bytes, record + 12), -1);            // unused minimized position
    EXPECT_EQ(int32At(bytes, record + 28), 10);            // normal rectangle left
    EXPECT_EQ(int32At(bytes, record + 40), 620);           // ... and bottom
    EXPECT_EQ(int32At(bytes, record + 44 + 44 + 28), -6);  // second board's left
    EXPECT_EQ(bytes[record + 220], 4);
    EXPECT_EQ(int32At(bytes, record + 224 + 8), 2);  // first list minimized
    EXPECT_EQ(bytes[record + 312], 1);
    EXPECT_EQ(int32At(bytes, record + 316 + 44 + 32), 210);  // second index window's top
    EXPECT_EQ(bytes[record + 404], 2);
    for (std::size_t padding : {221, 222, 223, 313, 314, 315, 405, 406, 407}) EXPECT_EQ(bytes[record + padding], 0);

    // The other records stay never-saved, and the record reads back as written.
    for (int other : {0, 1, 3}) EXPECT_EQ(readLayout(bytes, other), WindowLayout{});
    EXPECT_EQ(readLayout(bytes, 2), layout);
    EXPECT_FALSE(readLayout(bytes, 0).mainWindow.present());
}

TEST(WindowLayout, StoredCountsAreClampedToTheSlots) {
    struct Case {
        std::size_t offset;
        unsigned char stored;
        int expected;
    };
    const Case cases[] = {
        {220, 3, 3}, {220, 4, 4}, {220, 5, 4}, {220, 0x7f, 4}, {220, 0xff, 0}, {220, 0x80, 0},
        {312, 2, 2}, {312, 3, 2}, {312, 0xfe, 0}, {404, 1, 1}, {404, 9, 2},  {404, 0x81, 0},
    };
    for (const Case& c : cases) {
        LayoutBytes bytes{};
        bytes[kLayoutSize + c.offset] = c.stored;
        const WindowLayout layout = readLayout(bytes, 1);
        const int count = c.offset == 220 ? layout.boardCount : c.offset == 312 ? layout.listCount : layout.indexCount;
        EXPECT_EQ(count, c.expected) << "byte " << c.offset << " = " << int{c.stored};
    }

    WindowLayout tooMany;
    tooMany.boardCount = 9;
    tooMany.listCount = -3;
    LayoutBytes bytes{};
    writeLayout(bytes, 3, tooMany);
    EXPECT_EQ(bytes[3 * kLayoutSize + 220], 4);
    EXPECT_EQ(bytes[3 * kLayoutSize + 312], 0);
    EXPECT_THROW(readLayout(bytes, 4), std::out_of_range);
}

// An MDI area with one sub-window, shown off screen.
struct MdiFixture : testing::Test {
    QMdiArea area;
    QMdiSubWindow* child = nullptr;

    void SetUp() override {
        area.resize(900, 700);
        trackNormalGeometries(&area);
        child = area.addSubWindow(new QWidget);
        area.show();
        child->show();
    }
};

TEST_F(MdiFixture, ChildPlacementRoundTripsInEveryShowState) {
    for (std::uint32_t showCmd : {kShowNormal, kShowMaximized, kShowMinimized, kShowNormal}) {
        const WindowPlacement placement = WindowPlacement::of(showCmd, 30 + showCmd, 40, 430, 340 + showCmd);
        applyPlacement(child, placement);
        EXPECT_EQ(child->isMaximized(), showCmd == kShowMaximized);
        EXPECT_EQ(child->isMinimized(), showCmd == kShowMinimized);
        EXPECT_EQ(placementOf(child), placement) << "show state " << showCmd;
    }
    EXPECT_EQ(child->geometry(), QRect(31, 40, 399, 301));
}

TEST_F(MdiFixture, MaximizedChildKeepsTheRectangleItWasMovedTo) {
    child->setGeometry(50, 60, 300, 200);
    child->showMaximized();
    EXPECT_NE(child->geometry(), QRect(50, 60, 300, 200));
    EXPECT_EQ(placementOf(child), WindowPlacement::of(kShowMaximized, 50, 60, 350, 260));
    child->showNormal();
    EXPECT_EQ(placementOf(child), WindowPlacement::of(kShowNormal, 50, 60, 350, 260));
}

TEST_F(MdiFixture, PlacementWithoutTheRightLengthChangesNothing) {
    child->setGeometry(50, 60, 300, 200);
    WindowPlacement wrong = WindowPlacement::of(kShowMaximized, 0, 0, 100, 100);
    for (std::uint32_t length : {0u, 40u, 48u}) {
        wrong.length = length;
        applyPlacement(child, wrong);
        EXPECT_EQ(child->geometry(), QRect(50, 60, 300, 200));
        EXPECT_FALSE(child->isMaximized());
    }
}

TEST_F(MdiFixture, APlacementFromAnyLayoutFileLeavesTheWindowReachable) {
    QWidget mainWindow;
    mainWindow.show();
    const struct {
        const char* name;
        WindowPlacement placement;
    } cases[] = {
        {"beyond the right and bottom", WindowPlacement::of(kShowNormal, 5000, 6000, 5400, 6300)},
        {"larger than any screen", WindowPlacement::of(kShowNormal, -5, 0, INT32_MAX, INT32_MAX)},
        {"turned inside out", WindowPlacement::of(kShowNormal, INT32_MAX, INT32_MIN, INT32_MIN, INT32_MAX)},
    };
    for (const auto& c : cases) {
        for (QWidget* window : {static_cast<QWidget*>(child), &mainWindow}) {
            applyPlacement(window, c.placement);
            // Its caption lies inside the screen or the area.
            const QRect bounds = window->isWindow() ? window->screen()->availableGeometry() : area.viewport()->rect();
            const QRect outer = window->isWindow() ? window->frameGeometry() : window->geometry();
            const int caption = window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
            EXPECT_TRUE(bounds.contains(QRect(outer.topLeft(), QSize(outer.width(), caption)))) << c.name;
        }
    }
}

TEST(MainWindowPlacement, RoundTripsInScreenCoordinates) {
    QWidget window;
    window.show();
    const WindowPlacement placement = WindowPlacement::of(kShowNormal, 40, 50, 680, 530);
    applyPlacement(&window, placement);
    EXPECT_EQ(placementOf(&window), placement);
}

}  // namespace
}  // namespace tandemora
