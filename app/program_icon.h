// The program's icon: a white knight, drawn from the board's own piece outline.
#pragma once

#include <string>

#include <QIcon>
#include <QImage>

namespace tandemora {

QIcon programIcon();

// The same picture for the desktop: a square image of any size, and as SVG.
QImage programIconImage(int side);
std::string programIconSvg();

}  // namespace tandemora
