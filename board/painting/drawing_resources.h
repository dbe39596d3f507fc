// The pens, brushes, text colours and fonts every board window paints with, made from the
// settings.
#pragma once

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QPen>
#include <cstdint>

#include "settings/settings.h"

namespace tandemora {

// A colour as the settings hold it, 0x00BBGGRR.
QColor colorFromRef(std::uint32_t ref);

// The font of a font setting: size in points at the display's vertical resolution.
QFont makeFont(const FontSettings& font, int logicalDpiY);

struct DrawingResources {
    QPen boardOutlinePen;
    QPen bufferOutlinePen;
    QBrush bufferFillBrush;
    QPen whiteSquareOutlinePen;
    QBrush whiteSquareFillBrush;
    QPen blackSquareOutlinePen;
    QBrush blackSquareFillBrush;
    QPen pieceNumberPen;
    QPen whitePieceOutlinePen;
    QBrush whitePieceFillBrush;
    QPen blackPieceOutlinePen;
    QBrush blackPieceFillBrush;
    QPen blackPen;
    QBrush blackBrush;
    QPen whitePen;
    QBrush whiteBrush;

    // Used directly as text and background colours.
    QColor handleColor;
    QColor clockOnColor;
    QColor clockOnBackgroundColor;
    QColor clockOffColor;

    QFont handleFont;
    QFont clockFont;
};

DrawingResources makeDrawingResources(const Settings& settings, int logicalDpiY);

// A solid one-pixel pen, as every outline and stroke of the board is drawn.
QPen thinPen(const QColor& color);

}  // namespace tandemora
