#include "app/program_icon.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygon>

#include "board/painting/piece_outlines.h"

namespace tandemora {

QIcon programIcon() {
    constexpr int kKnight = 2;
    QIcon icon;
    for (int side : {16, 32, 48}) {
        QPixmap picture(side, side);
        picture.fill(QColor(0xa4, 0xbd, 0xcc));
        QPainter painter(&picture);
        QPolygon outline;
        for (const Point& p : pieceOutline(kKnight, side)) outline << QPoint(p.x, p.y);
        painter.setPen(Qt::black);
        painter.setBrush(Qt::white);
        painter.drawPolygon(outline, Qt::WindingFill);
        icon.addPixmap(picture);
    }
    return icon;
}

}  // namespace tandemora
