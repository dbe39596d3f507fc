// File > Export Diagram: asks for a PNG or SVG file and a size, and writes a picture of the
// active game's boards there.
#pragma once

class QWidget;

namespace tandemora {

class CGame;

void exportDiagram(QWidget* parent, const CGame& game);

}  // namespace tandemora
