#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include "board/painting/board_painter.h"
#include "board/painting/drawing_resources.h"
#include "board/painting/gdi_draw.h"

using namespace tandemora;

namespace {

// The default colours, 0x00BBGGRR in the settings, as the image holds them.
const QRgb kDarkSquare = qRgb(0x64, 0x89, 0x8f);
const QRgb kLightSquare = qRgb(0xa4, 0xbd, 0xcc);
const QRgb kBufferFill = qRgb(0xa4, 0xbd, 0xcc);
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kWhite = qRgb(0xff, 0xff, 0xff);
const QRgb kBlackPieceOutline = qRgb(0x7b, 0x7b, 0x7b);
const QColor kWindow(1, 2, 3);

Board emptyBoard() {
    Board board = Board::initial(60000);
    for (char& square : board.squares) square = ' ';
    return board;
}

class PaintedBoard : public ::testing::Test {
protected:
    Settings settings;
    DrawingResources resources = makeDrawingResources(settings, 96);
    BoardPainter painter{resources};
    Board board = emptyBoard();
    BoardScene scene{&board, false, "WHITE", "BLACK", false, kWindow};

    QImage paint() {
        QImage image(480, 480, QImage::Format_RGB32);
        image.fill(kWindow);
        painter.layout(image.width(), image.height(), scene);
        painter.paintAll(image, scene);
        return image;
    }

    // Top-left of the square shown at screen column and row.
    Point squareAt(int column, int row) const {
        const BoardLayout& l = painter.layout();
        return {l.boardLeft + 1 + column * l.squareSize, l.boardTop + 1 + row * l.squareSize};
    }

    Point cellAt(int slot) const {
        const BoardLayout& l = painter.layout();
        return {l.bufferLeft + l.cellOffset[slot].x, l.bufferTop + l.cellOffset[slot].y};
    }

    // A point of the 48-unit piece grid inside the square or cell at `origin`.
    Point unit(Point origin, int x, int y) const {
        const int s = painter.layout().squareSize;
        return {origin.x + x * s / 48, origin.y + y * s / 48};
    }
};

QRgb pixel(const QImage& image, Point p) { return image.pixel(p.x, p.y); }

bool sameBlock(const QImage& a, Point atA, const QImage& b, Point atB, int size) {
    return a.copy(atA.x, atA.y, size, size) == b.copy(atB.x, atB.y, size, size);
}

TEST_F(PaintedBoard, A1IsDarkAndFollowsTheFlip) {
    for (bool flipped : {false, true}) {
        scene.flipped = flipped;
        const QImage image = paint();
        const int s = painter.layout().squareSize;
        ASSERT_EQ(s, 47);
        // a1, b1 and h8 as seen from either side.
        const Point a1 = flipped ? squareAt(7, 0) : squareAt(0, 7);
        const Point b1 = flipped ? squareAt(6, 0) : squareAt(1, 7);
        const Point h8 = flipped ? squareAt(0, 7) : squareAt(7, 0);
        EXPECT_EQ(pixel(image, {a1.x + s / 2, a1.y + s / 2}), kDarkSquare) << flipped;
        EXPECT_EQ(pixel(image, {b1.x + s / 2, b1.y + s / 2}), kLightSquare) << flipped;
        EXPECT_EQ(pixel(image, {h8.x + s / 2, h8.y + s / 2}), kDarkSquare) << flipped;
        const BoardLayout& l = painter.layout();
        for (Point corner : {Point{l.boardLeft, l.boardTop}, Point{l.boardRight, l.boardBottom}})
            EXPECT_EQ(pixel(image, corner), kBlack) << flipped;
    }
}

TEST_F(PaintedBoard, PiecesAreComposedOnBothSquareColours) {
    struct Case {
        int file, rank;
        char piece;
        QRgb fill, outline, square;
    };
    const Case cases[] = {
        {0, 0, 'P', kWhite, kBlack, kDarkSquare},  {1, 0, 'P', kWhite, kBlack, kLightSquare},
        {0, 1, 'p', kBlack, kBlackPieceOutline, kLightSquare}, {1, 1, 'p', kBlack, kBlackPieceOutline, kDarkSquare},
    };
    for (const Case& c : cases) board.squares[c.file * 8 + c.rank] = c.piece;
    const QImage image = paint();
    for (const Case& c : cases) {
        const Point square = squareAt(c.file, 7 - c.rank);
        EXPECT_EQ(pixel(image, unit(square, 24, 30)), c.fill) << c.file << c.rank;
        EXPECT_EQ(pixel(image, unit(square, 24, 42)), c.outline) << c.file << c.rank;  // on the base line
        EXPECT_EQ(pixel(image, {square.x + 1, square.y + 1}), c.square) << c.file << c.rank;

        // The drag code's helper gives the same square.
        QImage single(47, 47, QImage::Format_RGB32);
        painter.drawSquare(single, scene, {0, 0}, c.file, c.rank, c.piece);
        EXPECT_TRUE(sameBlock(image, square, single, {0, 0}, 47)) << c.file << c.rank;
    }
}

TEST_F(PaintedBoard, BufferCountsAreDrawnAsStrokes) {
    // The top-left 8 x 9 pixels of a cell, where the digits go and no piece reaches.
    struct Case {
        int slot, count;
        std::vector<std::string> corner;  // '#' number colour, '.' buffer fill
    };
    const std::vector<std::string> blank(9, "........");
    const std::vector<Case> cases = {
        {0, 1, blank},
        {1, 2, {"..#####.", "......#.", "......#.", "......#.", "..#####.", "..#.....", "..#.....", "..#.....", "..####.."}},
        {2, 16, {".######.", ".##.....", ".##.....", ".##.....", ".######.", ".##...#.", ".##...#.", ".##...#.", "..#####."}},
        {3, 25, {".#......", ".#......", ".#......", ".#......", ".#......", ".#......", ".#......", ".#......", "........"}},
    };
    for (const Case& c : cases) board.holdings[c.slot] = c.count;
    const QImage image = paint();
    const int s = painter.layout().squareSize;
    for (const Case& c : cases) {
        const Point cell = cellAt(c.slot);
        for (int y = 0; y < 9; ++y) {
            std::string row;
            for (int x = 0; x < 8; ++x) row += pixel(image, {cell.x + x, cell.y + y}) == kBlack ? '#' : '.';
            EXPECT_EQ(row, c.corner[y]) << "count " << c.count << " row " << y;
        }
        EXPECT_EQ(pixel(image, unit(cell, 24, 30)), kWhite) << "no piece for count " << c.count;

        QImage single(s, s, QImage::Format_RGB32);
        painter.drawBufferCell(single, scene, {0, 0}, c.slot, PieceColour::White, c.count);
        EXPECT_TRUE(sameBlock(image, cell, single, {0, 0}, s)) << c.count;
    }

    // Count 0: the white queen's cell and every black cell show bare fill.
    for (int slot : {4, 5, 6, 7, 8, 9}) {
        const QImage cell = image.copy(cellAt(slot).x, cellAt(slot).y, s, s);
        QImage bare(s, s, QImage::Format_RGB32);
        bare.fill(kBufferFill);
        EXPECT_EQ(cell, bare) << slot;
    }
}

// How many pixels of `b` differ from `a` inside each area, and last, outside them all.
std::vector<int> differences(const QImage& a, const QImage& b, const std::vector<QRect>& areas) {
    std::vector<int> counts(areas.size() + 1);
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) == b.pixel(x, y)) continue;
            const auto in = std::find_if(areas.begin(), areas.end(), [&](const QRect& r) { return r.contains(x, y); });
            ++counts[in - areas.begin()];
        }
    return counts;
}

TEST_F(PaintedBoard, EachReadableOptionChangesOnlyItsOwnPixels) {
    // After 1. e4, pieces on the edge squares, and two reserve counts.
    for (int i = 0; i < 8; ++i) board.squares[squareIndex(i, 0)] = board.squares[squareIndex(0, i)] = 'n';
    board.squares[squareIndex(4, 3)] = 'P';
    board.lastFrom = squareIndex(4, 1);
    board.lastTo = squareIndex(4, 3);
    board.holdings[2] = 16;
    board.holdings[6] = 2;
    for (bool flipped : {false, true}) {
        scene.flipped = flipped;
        const QImage plain = paint();
        const int s = painter.layout().squareSize;
        auto box = [s](Point at) { return QRect(at.x, at.y, s, s); };
        auto square = [&](int file, int rank) { return box(squareAt(flipped ? 7 - file : file, flipped ? rank : 7 - rank)); };
        std::vector<QRect> edges;  // the left column and the bottom row as seen
        for (int i = 0; i < 8; ++i) edges.push_back(box(squareAt(0, i)));
        for (int i = 1; i < 8; ++i) edges.push_back(box(squareAt(i, 7)));
        const struct {
            bool BoardScene::*option;
            std::vector<QRect> areas;
        } cases[] = {
            {&BoardScene::markLastMove, {square(4, 1), square(4, 3)}},
            {&BoardScene::showCoordinates, edges},
            {&BoardScene::largeCounts, {box(cellAt(2)), box(cellAt(6))}},
        };
        for (const auto& c : cases) {
            scene.*c.option = true;
            const std::vector<int> changed = differences(plain, paint(), c.areas);
            scene.*c.option = false;
            EXPECT_EQ(changed.back(), 0) << "outside, flipped " << flipped;
            EXPECT_EQ(std::count(changed.begin(), changed.end() - 1, 0), 0) << "an area unchanged, flipped " << flipped;
        }
    }
}

TEST_F(PaintedBoard, LargeCountsWriteEveryDigit) {
    scene.largeCounts = true;
    board.holdings[0] = 1;  // a single piece has no number
    const QImage bare = paint();
    // How far the count's dark ink reaches across the pawns' cell, above the pawn's head.
    auto inkWidth = [&](int count) {
        board.holdings[0] = count;
        const QImage image = paint();
        const Point cell = cellAt(0);
        int first = cell.x + 99, last = cell.x;
        for (int x = cell.x; x < cell.x + painter.layout().squareSize; ++x)
            for (int y = cell.y; y < cell.y + 13; ++y)
                if (image.pixel(x, y) != bare.pixel(x, y) && qGray(image.pixel(x, y)) < 80)
                    first = std::min(first, x), last = std::max(last, x);
        return last - first;
    };
    EXPECT_GT(inkWidth(16), inkWidth(6) + 4);  // the one beside the six, not a stroke before it
}

TEST_F(PaintedBoard, AtTwiceThePixelRatioTheDrawingIsSharp) {
    QImage sharp(960, 960, QImage::Format_RGB32);
    sharp.setDevicePixelRatio(2);
    painter.layout(480, 480, scene, 2);
    painter.paintAll(sharp, scene);
    const BoardLayout& l = painter.layout();
    ASSERT_EQ(l.squareSize, 47);  // laid out in the window's pixels, as at ratio 1
    // The board's outline two pixels wide; the pieces drawn for squares of twice the side.
    EXPECT_EQ(sharp.pixel(2 * l.boardRight, 2 * l.boardTop + 20), kBlack);
    EXPECT_EQ(sharp.pixel(2 * l.boardRight + 1, 2 * l.boardTop + 20), kBlack);
    BoardPainter large(resources);
    large.layout(20 * l.squareSize + 4, 2000, scene);
    ASSERT_EQ(large.layout().squareSize, 2 * l.squareSize);
    QImage knight = painter.tiles().piece(2, PieceColour::White);
    knight.setDevicePixelRatio(1);
    EXPECT_EQ(knight, large.tiles().piece(2, PieceColour::White));
}

TEST_F(PaintedBoard, TheSideToMoveHasTheRunningClock) {
    QImage image = paint();
    for (int side : {1, 0, 1}) {
        board.sideToMove = side;
        painter.paintClocks(image, scene);
        const Point white = painter.layout().whiteClockPos, black = painter.layout().blackClockPos;
        // The leading blank of each clock shows its background.
        EXPECT_EQ(pixel(image, {white.x + 1, white.y + 1}), side == 1 ? kBlack : kWindow.rgb()) << side;
        EXPECT_EQ(pixel(image, {black.x + 1, black.y + 1}), side == 1 ? kWindow.rgb() : kBlack) << side;
    }
}

TEST(PieceType, KingComesAfterTheReserveOrder) {
    const std::pair<char, int> cases[] = {{'P', 0}, {'r', 1}, {'N', 2}, {'b', 3}, {'Q', 4},
                                          {'k', 5}, {'K', 5}, {' ', -1}, {'x', -1}};
    for (auto [letter, type] : cases) EXPECT_EQ(pieceType(letter), type) << letter;
}

TEST(GdiDraw, LinesLeaveOutTheirEndPoint) {
    struct Case {
        Point from, to;
        int pixels;
    };
    const Case cases[] = {
        {{1, 1}, {6, 1}, 5}, {{6, 1}, {1, 1}, 5}, {{2, 0}, {2, 7}, 7},
        {{0, 0}, {5, 5}, 5}, {{7, 0}, {1, 3}, 6}, {{3, 3}, {3, 3}, 0},
        {{-3, 2}, {3, 2}, 3},  // the part outside the image is skipped
    };
    for (const Case& c : cases) {
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(Qt::white);
        drawGdiLine(image, c.from, c.to, kBlack);
        int painted = 0;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) painted += image.pixel(x, y) == kBlack;
        EXPECT_EQ(painted, c.pixels) << c.from.x << "," << c.from.y << " -> " << c.to.x << "," << c.to.y;
        if (image.valid(c.to.x, c.to.y)) {
            EXPECT_NE(image.pixel(c.to.x, c.to.y), kBlack);
        }
    }
}

TEST(GdiDraw, RectangleCoversLeftTopButNotRightBottom) {
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        gdiRectangle(painter, 2, 1, 6, 5, thinPen(Qt::red), QBrush(Qt::blue));
    }
    const char* const expected[] = {"........", "..rrrr..", "..rbbr..", "..rbbr..", "..rrrr..", "........"};
    for (int y = 0; y < 6; ++y) {
        std::string row;
        for (int x = 0; x < 8; ++x) {
            const QRgb p = image.pixel(x, y);
            row += p == qRgb(255, 0, 0) ? 'r' : p == qRgb(0, 0, 255) ? 'b' : '.';
        }
        EXPECT_EQ(row, expected[y]) << y;
    }
}

TEST(DrawingResources, ColoursAndFonts) {
    EXPECT_EQ(colorFromRef(0x0000ff).rgb(), qRgb(255, 0, 0));
    EXPECT_EQ(colorFromRef(0xccbda4).rgb(), qRgb(0xa4, 0xbd, 0xcc));

    FontSettings font;
    font.name = std::string(40, 'A');
    font.bold = 1;
    font.italic = 1;
    const QFont made = makeFont(font, 96);
    EXPECT_EQ(made.pixelSize(), 16);  // 12 pt at 96 dpi
    EXPECT_EQ(made.weight(), QFont::Bold);
    EXPECT_TRUE(made.italic());
    EXPECT_FALSE(made.underline());
    EXPECT_EQ(made.family().size(), 31);

    const struct {
        int size, dpi, pixels;
    } sizes[] = {
        {10, 120, 17},  // 16.67 rounds up
        {9, 96, 12},
        {std::numeric_limits<int>::max(), 96, 267},  // a damaged settings file: the largest size
        {std::numeric_limits<int>::min(), 96, 266},
    };
    for (const auto& c : sizes) {
        font.size = c.size;
        EXPECT_EQ(makeFont(font, c.dpi).pixelSize(), c.pixels) << c.size;
    }
}

}  // namespace
