// Pictures of a game's boards as their windows draw them, written as PNG or SVG files.
#pragma once

#include <string>

#include <QImage>

namespace tandemora {

class CGame;

// The boards of a shown game side by side, A on the left, each as its window draws it (names,
// ratings, clocks and reserves, flipped as shown) without the window's empty margins, at
// `scale` times the size the windows show them.
QImage diagramImage(const CGame& game, qreal scale);

enum class DiagramFormat { kPng, kSvg };

// The format a file name asks for by its extension, whatever its case; `otherwise` for a name
// with neither ".png" nor ".svg".
DiagramFormat diagramFormatOf(const std::string& path, DiagramFormat otherwise);

// Writes the picture to `path` through a temporary file, so that a failure leaves no
// half-written file; an SVG holds the picture at its own pixel size. False, with the reason in
// `problem`, when it could not be written.
bool writeDiagram(const QImage& image, const std::string& path, DiagramFormat format, std::string& problem);

}  // namespace tandemora
