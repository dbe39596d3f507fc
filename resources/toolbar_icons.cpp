#include "resources/toolbar_icons.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygon>

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <iterator>
#include <string_view>

#include "resources/command_texts.h"

namespace tandemora {
namespace {

using Drawing = std::function<void(QPainter&)>;

const QColor kInk = Qt::black;
const QColor kFolderYellow(255, 220, 64);
const QColor kFolderShade(200, 160, 0);
const QColor kDiskBody(0, 0, 128);
const QColor kDiskShutter(192, 192, 192);

QIcon picture(QSize size, const Drawing& draw) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    draw(painter);
    painter.end();
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(image));
    return icon;
}

void fill(QPainter& painter, const QPolygon& shape, const QColor& color) {
    painter.setPen(color);
    painter.setBrush(color);
    painter.drawPolygon(shape);
}

// Pixels marked '#' in rows of text, from (x, y).
template <typename Rows>
void drawPixels(QPainter& painter, int x, int y, const Rows& rows) {
    painter.setPen(kInk);
    for (const char* row : rows) {
        for (int i = 0; row[i]; ++i)
            if (row[i] == '#') painter.drawPoint(x + i, y);
        ++y;
    }
}

// The board buttons' arrows, on a 20 x 21 button.
void leftTriangle(QPainter& p, int tipX) { fill(p, QPolygon({{tipX, 10}, {tipX + 6, 4}, {tipX + 6, 16}}), kInk); }
void rightTriangle(QPainter& p, int baseX) { fill(p, QPolygon({{baseX, 4}, {baseX, 16}, {baseX + 6, 10}}), kInk); }
void bar(QPainter& p, int x) { p.fillRect(x, 4, 2, 13, kInk); }

void rewind(QPainter& p) {
    bar(p, 5);
    leftTriangle(p, 8);
}
void back(QPainter& p) { leftTriangle(p, 7); }
void forward(QPainter& p) { rightTriangle(p, 7); }
void forwardWithSkip(QPainter& p) {
    rightTriangle(p, 5);
    drawPixels(p, 13, 13, std::array{".###", "#...", ".##.", "...#", "###."});
}
void fastForward(QPainter& p) {
    rightTriangle(p, 6);
    bar(p, 13);
}

// A tiny pixel type for the words on the board buttons: nine rows, the capitals filling the
// first seven, descenders the last two.
struct Glyph {
    char letter;
    std::array<const char*, 9> rows;
};

const Glyph kGlyphs[] = {
    {'F', {"####", "#...", "#...", "###.", "#...", "#...", "#...", "....", "...."}},
    {'I', {"###", ".#.", ".#.", ".#.", ".#.", ".#.", "###", "...", "..."}},
    {'P', {"###.", "#..#", "#..#", "###.", "#...", "#...", "#...", "....", "...."}},
    {'S', {".###", "#...", "#...", ".##.", "...#", "...#", "###.", "....", "...."}},
    {'a', {"....", "....", ".##.", "...#", ".###", "#..#", ".###", "....", "...."}},
    {'f', {".##", "#..", "###", "#..", "#..", "#..", "#..", "...", "..."}},
    {'i', {"#", ".", "#", "#", "#", "#", "#", ".", "."}},
    {'l', {"#", "#", "#", "#", "#", "#", "#", ".", "."}},
    {'n', {"....", "....", "###.", "#..#", "#..#", "#..#", "#..#", "....", "...."}},
    {'o', {"....", "....", ".##.", "#..#", "#..#", "#..#", ".##.", "....", "...."}},
    {'p', {"....", "....", "###.", "#..#", "#..#", "#..#", "###.", "#...", "#..."}},
    {'t', {".#.", ".#.", "###", ".#.", ".#.", ".#.", "..#", "...", "..."}},
    {'y', {"....", "....", "#..#", "#..#", "#..#", "#..#", ".###", "...#", ".##."}},
};

const Glyph& glyphOf(char letter) {
    return *std::find_if(std::begin(kGlyphs), std::end(kGlyphs), [letter](const Glyph& g) { return g.letter == letter; });
}

int glyphWidth(const Glyph& glyph) { return static_cast<int>(std::strlen(glyph.rows[0])); }

// A word printed across a board button, centred, one blank column between letters.
Drawing word(std::string_view text) {
    return [text](QPainter& p) {
        int width = -1;
        for (char letter : text) width += glyphWidth(glyphOf(letter)) + 1;
        int x = (kBoardButtonSize.width() - width) / 2;
        for (char letter : text) {
            const Glyph& glyph = glyphOf(letter);
            drawPixels(p, x, 6, glyph.rows);
            x += glyphWidth(glyph) + 1;
        }
    };
}

// Letters on a main-toolbar button.
Drawing letters(const char* text) {
    return [text](QPainter& p) {
        QFont font("Liberation Sans");
        font.setPixelSize(12);
        font.setBold(true);
        font.setStyleStrategy(QFont::NoAntialias);
        p.setFont(font);
        p.setPen(kInk);
        p.drawText(QRect(QPoint(0, 0), kMainButtonSize), Qt::AlignCenter, QString::fromLatin1(text));
    };
}

void openFolder(QPainter& p) {
    p.setPen(kInk);
    p.setBrush(kFolderShade);
    p.drawPolygon(QPolygon({{0, 3}, {1, 2}, {5, 2}, {6, 3}, {11, 3}, {11, 13}, {0, 13}}));
    p.setBrush(kFolderYellow);
    p.drawPolygon(QPolygon({{3, 7}, {15, 7}, {11, 13}, {0, 13}}));
}

void diskette(QPainter& p, int x, int y, int size) {
    const int last = size - 1;
    p.setPen(kInk);
    p.setBrush(kDiskBody);
    p.drawPolygon(QPolygon({{x, y}, {x + last - 1, y}, {x + last, y + 1}, {x + last, y + last}, {x, y + last}}));
    p.fillRect(x + 2, y + 1, size - 4, size / 2 - 1, Qt::white);                 // label
    p.fillRect(x + 3, y + size / 2 + 1, size - 6, size / 2 - 2, kDiskShutter);  // shutter
}

// A question mark, filled and outlined.
void questionMark(QPainter& p, QRect box, const QColor& color, int pixelSize) {
    QFont font("Liberation Sans");
    font.setPixelSize(pixelSize);
    font.setBold(true);
    QPainterPath path;
    path.addText(0, 0, font, QStringLiteral("?"));
    const QRectF bounds = path.boundingRect();
    path.translate(box.center().x() - bounds.center().x() + 0.5, box.center().y() - bounds.center().y() + 0.5);
    p.setPen(kInk);
    p.setBrush(color);
    p.drawPath(path);
}

void about(QPainter& p) { questionMark(p, QRect(0, 0, 16, 15), kFolderYellow, 15); }

void contextHelp(QPainter& p) {
    p.setPen(kInk);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygon({{0, 0}, {0, 11}, {3, 8}, {5, 12}, {7, 11}, {5, 7}, {8, 7}}));
    questionMark(p, QRect(9, 1, 7, 13), kInk, 11);
}

}  // namespace

QIcon toolbarIcon(int commandId) {
    switch (commandId) {
    case kRewindBoard:
    case kRewindGame: return picture(kBoardButtonSize, rewind);
    case kBackOnBoard:
    case kBackInGame: return picture(kBoardButtonSize, back);
    case kForwardOnBoard:
    case kForwardInGame: return picture(kBoardButtonSize, forward);
    case kForwardOnBoardWithSkip: return picture(kBoardButtonSize, forwardWithSkip);
    case kFastForwardBoard:
    case kFastForwardGame: return picture(kBoardButtonSize, fastForward);
    case kFlipBoards: return picture(kBoardButtonSize, word("Flip"));
    case kToggleMoveInfo: return picture(kBoardButtonSize, word("Info"));
    case kStartReplay: return picture(kBoardButtonSize, word("Play"));
    case kStopReplay: return picture(kBoardButtonSize, word("Stop"));

    case kNewCrazyhouseGame: return picture(kMainButtonSize, letters("Zh"));
    case kNewBughouseGame: return picture(kMainButtonSize, letters("B"));
    case kOpenFile: return picture(kMainButtonSize, openFolder);
    case kSave: return picture(kMainButtonSize, [](QPainter& p) { diskette(p, 1, 1, 13); });
    case kSaveAll:
        return picture(kMainButtonSize, [](QPainter& p) {
            diskette(p, 0, 0, 10);
            diskette(p, 5, 4, 10);
        });
    case kAbout: return picture(kMainButtonSize, about);
    case kContextHelpPicture: return picture(kMainButtonSize, contextHelp);
    default: return {};
    }
}

}  // namespace tandemora
