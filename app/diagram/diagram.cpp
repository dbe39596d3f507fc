#include "app/diagram/diagram.h"

#include <algorithm>
#include <sstream>
#include <vector>

#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>

#include "board/board_frame.h"
#include "core/board.h"
#include "game/file_replacement.h"
#include "game/game.h"

namespace tandemora {

namespace {

// Between the two boards of a bughouse game, in the windows' pixels.
constexpr int kBoardGap = 12;

// The SVG's pixels are CSS pixels, as browsers and viewers take them.
constexpr int kCssPixelsPerInch = 96;

std::string lowerCaseEnding(const std::string& path, size_t length) {
    std::string ending = path.size() < length ? path : path.substr(path.size() - length);
    for (char& c : ending) c = asciiLower(c);
    return ending;
}

void writeSvg(const QImage& image, QBuffer& out) {
    QSvgGenerator svg;
    svg.setOutputDevice(&out);
    svg.setSize(image.size());
    svg.setViewBox(QRect(QPoint(0, 0), image.size()));
    svg.setResolution(kCssPixelsPerInch);
    svg.setTitle(QStringLiteral("Tandemora diagram"));
    QPainter painter(&svg);
    painter.drawImage(QPoint(0, 0), image);
}

}  // namespace

QImage diagramImage(const CGame& game, qreal scale) {
    std::vector<QImage> boards;
    QColor background;
    for (const BoardWindow* window : {game.boardA.get(), game.boardB.get()}) {
        if (!window) continue;
        const auto& frame = static_cast<const CBoardFrame&>(*window);
        boards.push_back(frame.drawingAt(scale));
        boards.back().setDevicePixelRatio(1);
        background = frame.palette().color(QPalette::Base);
    }
    const int gap = qRound(kBoardGap * scale);
    int width = boards.empty() ? 0 : -gap, height = 0;
    for (const QImage& board : boards) {
        width += board.width() + gap;
        height = std::max(height, board.height());
    }
    QImage diagram(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
    diagram.fill(background);
    QPainter painter(&diagram);
    int x = 0;
    for (const QImage& board : boards) {
        painter.drawImage(x, 0, board);
        x += board.width() + gap;
    }
    return diagram;
}

DiagramFormat diagramFormatOf(const std::string& path, DiagramFormat otherwise) {
    const std::string ending = lowerCaseEnding(path, 4);
    if (ending == ".svg") return DiagramFormat::kSvg;
    if (ending == ".png") return DiagramFormat::kPng;
    return otherwise;
}

bool writeDiagram(const QImage& image, const std::string& path, DiagramFormat format, std::string& problem) {
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    if (format == DiagramFormat::kSvg) {
        writeSvg(image, bytes);
    } else if (!image.save(&bytes, "PNG")) {
        problem = "the picture could not be encoded as PNG";
        return false;
    }
    const QByteArray& data = bytes.data();
    std::ostringstream details;
    const Replacement result = replaceFile(
        path,
        [&data](std::ostream& out) {
            out.write(data.constData(), data.size());
            return out.good();
        },
        details);
    problem = details.str();
    return result == Replacement::kDone;
}

}  // namespace tandemora
