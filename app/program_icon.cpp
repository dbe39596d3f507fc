#include "app/program_icon.h"

#include <sstream>

#include <QPainter>
#include <QPixmap>
#include <QPolygon>

#include "board/painting/piece_outlines.h"

namespace tandemora {

namespace {

constexpr int kKnight = 2;
constexpr int kGrid = 48;  // the outline's own grid: the SVG's units
const QColor kBackground(0xa4, 0xbd, 0xcc);

}  // namespace

QImage programIconImage(int side) {
    QImage picture(side, side, QImage::Format_RGB32);
    picture.fill(kBackground);
    QPainter painter(&picture);
    QPolygon outline;
    for (const Point& p : pieceOutline(kKnight, side)) outline << QPoint(p.x, p.y);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    painter.drawPolygon(outline, Qt::WindingFill);
    return picture;
}

QIcon programIcon() {
    QIcon icon;
    for (int side : {16, 32, 48}) icon.addPixmap(QPixmap::fromImage(programIconImage(side)));
    return icon;
}

std::string programIconSvg() {
    std::ostringstream svg;
    svg << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << kGrid << "\" height=\"" << kGrid
        << "\" viewBox=\"0 0 " << kGrid << ' ' << kGrid << "\">\n  <rect width=\"" << kGrid << "\" height=\"" << kGrid
        << "\" fill=\"" << kBackground.name().toStdString() << "\"/>\n  <polygon points=\"";
    const char* separator = "";
    for (const Point& p : pieceOutline(kKnight, kGrid)) {
        svg << separator << p.x << ',' << p.y;
        separator = " ";
    }
    svg << "\" fill=\"#ffffff\" stroke=\"#000000\" stroke-width=\"0.5\"/>\n</svg>\n";
    return svg.str();
}

}  // namespace tandemora
