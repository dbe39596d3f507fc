#include "board/painting/drawing_resources.h"

#include <QString>
#include <algorithm>
#include <cstdlib>

namespace tandemora {

namespace {
// Larger sizes come from a damaged or hand-edited settings file; they would not fit a board and
// overflow the pixel height.
constexpr int kLargestFontPoints = 200;
}  // namespace

QColor colorFromRef(std::uint32_t ref) {
    return QColor(static_cast<int>(ref & 0xff), static_cast<int>((ref >> 8) & 0xff), static_cast<int>((ref >> 16) & 0xff));
}

QFont makeFont(const FontSettings& font, int logicalDpiY) {
    // A face name holds at most 31 characters.
    QFont result(QString::fromLatin1(font.name.substr(0, 31)));
    const int points = std::clamp(font.size, -kLargestFontPoints, kLargestFontPoints);
    const int pixels = static_cast<int>(static_cast<double>(points) * logicalDpiY / 72 + 0.5);
    // A size that rounds to no pixels keeps the default height.
    if (pixels != 0) result.setPixelSize(std::abs(pixels));
    result.setWeight(font.bold ? QFont::Bold : QFont::Normal);
    result.setItalic(font.italic != 0);
    result.setUnderline(font.underline != 0);
    result.setStrikeOut(font.strikeout != 0);
    return result;
}

QPen thinPen(const QColor& color) {
    QPen pen(color, 0, Qt::SolidLine);
    pen.setCosmetic(true);
    return pen;
}

DrawingResources makeDrawingResources(const Settings& settings, int logicalDpiY) {
    auto pen = [](std::uint32_t ref) { return thinPen(colorFromRef(ref)); };
    auto brush = [](std::uint32_t ref) { return QBrush(colorFromRef(ref)); };
    DrawingResources r;
    r.boardOutlinePen = pen(settings.boardOutlineColor);
    r.bufferOutlinePen = pen(settings.bufferOutlineColor);
    r.bufferFillBrush = brush(settings.bufferFillColor);
    r.whiteSquareOutlinePen = pen(settings.whiteSquareOutlineColor);
    r.whiteSquareFillBrush = brush(settings.whiteSquareFillColor);
    r.blackSquareOutlinePen = pen(settings.blackSquareOutlineColor);
    r.blackSquareFillBrush = brush(settings.blackSquareFillColor);
    r.pieceNumberPen = pen(settings.pieceNumberColor);
    r.whitePieceOutlinePen = pen(settings.whitePieceOutlineColor);
    r.whitePieceFillBrush = brush(settings.whitePieceFillColor);
    r.blackPieceOutlinePen = pen(settings.blackPieceOutlineColor);
    r.blackPieceFillBrush = brush(settings.blackPieceFillColor);
    r.blackPen = pen(0x000000);
    r.blackBrush = brush(0x000000);
    r.whitePen = pen(0xffffff);
    r.whiteBrush = brush(0xffffff);
    r.handleColor = colorFromRef(settings.handleColor);
    r.clockOnColor = colorFromRef(settings.clockOnColor);
    r.clockOnBackgroundColor = colorFromRef(settings.clockOnBackgroundColor);
    r.clockOffColor = colorFromRef(settings.clockOffColor);
    r.handleFont = makeFont(settings.handleFont, logicalDpiY);
    r.clockFont = makeFont(settings.clockFont, logicalDpiY);
    return r;
}

}  // namespace tandemora
