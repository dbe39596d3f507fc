#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "board/painting/board_layout.h"
#include "board/painting/clock_text.h"
#include "board/painting/count_digits.h"

using namespace tandemora;

namespace {

struct SizeCase {
    int width, height, textHeight, squareSize;
};

TEST(BoardLayout, SquareSizeFollowsTheTighterDimension) {
    const SizeCase cases[] = {
        {472, 446, 19, 46},  // width-bound: the height would allow 47
        {1000, 300, 19, 29},  // wide and low: height-bound, (300 - 29 - 38) / 8
        {474, 443, 19, 47},  // the height fits 8 * 47 exactly
        {474, 442, 19, 46},  // one pixel less
        {480, 480, 16, 47},
        {3, 3, 19, 1},  // nothing fits: clamped so the tiles stay drawable
    };
    for (const SizeCase& c : cases) {
        const TextSize text{40, c.textHeight};
        const BoardLayout layout = computeBoardLayout(c.width, c.height, text, text, text, false);
        EXPECT_EQ(layout.squareSize, c.squareSize) << c.width << " x " << c.height;
        EXPECT_EQ(layout.doubleSize, 2 * c.squareSize);
        EXPECT_EQ(layout.outlines.squareSize, c.squareSize);
    }
}

TEST(BoardLayout, PlacesEverythingUnflippedAndFlipped) {
    const TextSize whiteName{60, 19}, blackName{58, 17}, sample{50, 19};
    const BoardLayout plain = computeBoardLayout(472, 446, whiteName, blackName, sample, false);
    const BoardLayout flipped = computeBoardLayout(472, 446, whiteName, blackName, sample, true);
    for (const BoardLayout* layout : {&plain, &flipped}) {
        EXPECT_EQ(layout->squareSize, 46);
        EXPECT_EQ(layout->boardLeft, 0);
        EXPECT_EQ(layout->boardTop, 21);
        EXPECT_EQ(layout->boardRight, 369);
        EXPECT_EQ(layout->boardBottom, 390);
        EXPECT_EQ(layout->bufferLeft, 370);
        EXPECT_EQ(layout->bufferTop, 21);
        EXPECT_EQ(layout->bufferRight, 463);
        EXPECT_EQ(layout->bufferBottom, 390);
        EXPECT_EQ(layout->digitX, (std::array<int, 3>{2, 4, 6}));
        EXPECT_EQ(layout->digitY, (std::array<int, 3>{0, 4, 8}));
        EXPECT_EQ(layout->outlines.polygons[0].front(), (Point{11, 35}));  // pawn (12, 37) scaled
        EXPECT_EQ(layout->outlines.polygons[5].size(), 82u);
    }
    // Names centred ((369 - 60) / 2 rounds down), clocks right-aligned, white at the bottom.
    EXPECT_EQ(plain.whiteNamePos, (Point{154, 392}));
    EXPECT_EQ(plain.blackNamePos, (Point{155, 2}));
    EXPECT_EQ(plain.whiteClockPos, (Point{319, 392}));
    EXPECT_EQ(plain.blackClockPos, (Point{319, 0}));
    EXPECT_EQ(flipped.whiteNamePos, (Point{154, 0}));
    EXPECT_EQ(flipped.blackNamePos, (Point{155, 392}));
    EXPECT_EQ(flipped.whiteClockPos, (Point{319, 0}));
    EXPECT_EQ(flipped.blackClockPos, (Point{319, 392}));

    // Top block: P R / N Q / B; bottom block the same from row 5. Flipping swaps the colours.
    const std::array<Point, 5> top = {{{1, 1}, {47, 1}, {1, 47}, {1, 93}, {47, 47}}};
    const std::array<Point, 5> bottom = {{{1, 231}, {47, 231}, {1, 277}, {1, 323}, {47, 277}}};
    for (int type = 0; type < 5; ++type) {
        EXPECT_EQ(plain.cellOffset[type], bottom[type]) << type;
        EXPECT_EQ(plain.cellOffset[5 + type], top[type]) << type;
        EXPECT_EQ(flipped.cellOffset[type], top[type]) << type;
        EXPECT_EQ(flipped.cellOffset[5 + type], bottom[type]) << type;
    }
}

TEST(BoardLayout, NameWiderThanTheBoardRoundsTowardsMinusInfinity) {
    const BoardLayout layout = computeBoardLayout(472, 446, {400, 19}, {371, 19}, {50, 19}, false);
    EXPECT_EQ(layout.whiteNamePos.x, -16);  // (369 - 400) / 2 = -15.5
    EXPECT_EQ(layout.blackNamePos.x, -1);   // (369 - 371) / 2 = -1 exactly
}

TEST(ClockText, TruncatesEveryPart) {
    struct Case {
        int ms;
        const char* plain;
        const char* tenths;
    };
    const Case cases[] = {
        {61500, " 01:01", " 01:01:5"},     {-61500, "-01:01", "-01:01:5"},
        {0, " 00:00", " 00:00:0"},         {-1, "-00:00", "-00:00:0"},
        {59999, " 00:59", " 00:59:9"},     {6000000, " 100:00", " 100:00:0"},
        {999, " 00:00", " 00:00:9"},       {-6000000, "-100:00", "-100:00:0"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(clockText(c.ms, false), c.plain) << c.ms;
        EXPECT_EQ(clockText(c.ms, true), c.tenths) << c.ms;
    }
    EXPECT_STREQ(clockSample(false), " 00:00");
    EXPECT_STREQ(clockSample(true), " 00:00:0");
}

TEST(CountDigits, StrokesOfEachCount) {
    const std::array<int, 3> x{2, 4, 6}, y{0, 4, 8};
    const Stroke tens{{1, 0}, {1, 8}};
    const Stroke zero{{2, 0}, {6, 0}, {6, 8}, {2, 8}, {2, 0}};
    const Stroke one{{4, 0}, {4, 8}};
    const Stroke six{{6, 0}, {2, 0}, {2, 8}, {6, 8}, {6, 4}, {2, 4}};
    const Stroke middleBar{{2, 4}, {6, 4}};
    struct Case {
        int count;
        std::vector<Stroke> strokes;
    };
    const std::vector<Case> cases = {
        {-1, {}},
        {0, {}},
        {1, {}},
        {2, {{{2, 0}, {6, 0}, {6, 4}, {2, 4}, {2, 8}, {6, 8}}}},
        {3, {{{2, 0}, {6, 0}, {6, 8}, {2, 8}}, middleBar}},
        {4, {{{2, 0}, {2, 4}, {6, 4}}, one}},
        {8, {zero, middleBar}},
        {9, {{{6, 4}, {2, 4}, {2, 0}, {6, 0}, {6, 8}}}},
        {10, {tens, zero}},
        {11, {tens, one}},
        {16, {tens, six}},
        {20, {tens}},
        {25, {tens}},
    };
    for (const Case& c : cases) EXPECT_EQ(countStrokes(c.count, x, y), c.strokes) << c.count;
}

}  // namespace
