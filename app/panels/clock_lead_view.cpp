#include "app/panels/clock_lead_view.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>

#include "game/game.h"

namespace tandemora {

namespace {

const QColor kTeamColour(30, 70, 170);
const QColor kBoardAColour(210, 120, 0);
const QColor kBoardBColour(0, 140, 90);
const QColor kMarkColour(200, 0, 0);
const QColor kZeroColour(150, 150, 150);
// Each board's own line: one pixel wide at any scale, which is also the fastest to draw.
constexpr double kThinLine = 0;

// A player's name, or the seat when the game names nobody there.
QString player(const std::string& name, const char* seat) {
    return name.empty() || name == "WHITE" || name == "BLACK" ? QString::fromLatin1(seat) : QString::fromLatin1(name);
}

// The distance between two labels of an axis that runs to `largest`: the first round step that
// leaves room for the text.
int labelStep(double largest, int labelsThatFit) {
    static constexpr int kSteps[] = {1, 2, 5, 10, 15, 30, 60, 120, 300, 600, 1200, 3000, 6000, 12000, 30000, 60000};
    for (int step : kSteps)
        if (std::floor(largest / step) <= labelsThatFit) return step;
    return static_cast<int>(std::ceil(largest / labelsThatFit));
}

GraphFrame frameFor(const std::vector<ClockLead>& series, QRect area, const QFontMetrics& metrics) {
    std::int64_t largestMs = 5000;  // a level game still shows a few seconds either way
    for (const ClockLead& lead : series)
        largestMs = std::max({largestMs, std::abs(lead.teamMs), std::abs(lead.boardAMs), std::abs(lead.boardBMs)});
    const int line = metrics.height();
    const int legend = line + 4;
    // The labels must fit: room for "-1200 s" on the left, a line for move numbers below.
    const int left = metrics.horizontalAdvance(QStringLiteral("-00000 s")) + 6;
    GraphFrame frame;
    frame.plot = QRectF(left, legend + line / 2, std::max(area.width() - left - 10, 10),
                        std::max(area.height() - legend - line / 2 - line - 6, 10));
    frame.count = static_cast<int>(series.size());
    frame.range = largestMs / 1000.0 * 1.08;  // the highest point stays clear of the edge
    frame.step = labelStep(frame.range, std::max(1, static_cast<int>(frame.plot.height() / 2 / (line * 2.5))));
    return frame;
}

void drawAxes(QPainter& painter, const GraphFrame& frame, const QFontMetrics& metrics) {
    const QColor text = painter.pen().color();
    painter.setPen(QPen(kZeroColour, 0, Qt::DotLine));
    const int highest = static_cast<int>(frame.range) / frame.step * frame.step;
    for (int s = -highest; s <= highest; s += frame.step) {
        const double y = frame.y(s);
        if (s != 0) painter.drawLine(QPointF(frame.plot.left(), y), QPointF(frame.plot.right(), y));
        painter.save();
        painter.setPen(text);
        const QString label = s == 0 ? QStringLiteral("0") : QStringLiteral("%1%2 s").arg(s > 0 ? "+" : "").arg(s);
        painter.drawText(QRectF(0, y - metrics.height() / 2.0, frame.plot.left() - 4, metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter, label);
        painter.restore();
    }
    painter.setPen(QPen(kZeroColour, 1));
    painter.drawLine(QPointF(frame.plot.left(), frame.y(0)), QPointF(frame.plot.right(), frame.y(0)));
    painter.drawLine(frame.plot.topLeft(), frame.plot.bottomLeft());

    // Positions along the main line, counted in moves of either board.
    painter.setPen(text);
    const int moves = frame.count - 1;
    const int labelsThatFit = static_cast<int>(frame.plot.width() / (metrics.horizontalAdvance(QStringLiteral("0000")) * 1.5));
    const int every = labelStep(moves, std::max(1, labelsThatFit));
    for (int i = every; i <= moves; i += every) {
        const double x = frame.x(i);
        painter.drawText(QRectF(x - 30, frame.plot.bottom() + 2, 60, metrics.height()), Qt::AlignHCenter | Qt::AlignTop,
                         QString::number(i));
    }
}

void drawSeries(QPainter& painter, const GraphFrame& frame, const std::vector<ClockLead>& series,
                std::int64_t ClockLead::*value, const QColor& colour, double width) {
    QPolygonF line(frame.count);
    for (int i = 0; i < frame.count; ++i) line[i] = QPointF(frame.x(i), frame.y(series[i].*value / 1000.0));
    painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(line);
}

// One legend entry along the top, a short stroke of its line and its text; returns where the
// next one starts.
int drawLegendEntry(QPainter& painter, int x, int y, const QColor& colour, double width, const QString& text) {
    const QColor textColour = painter.pen().color();
    painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(x, y), QPointF(x + 18, y));
    painter.setPen(textColour);
    const QFontMetrics metrics = painter.fontMetrics();
    painter.drawText(QPointF(x + 22, y + metrics.ascent() / 2.0 - 1), text);
    return x + 22 + metrics.horizontalAdvance(text) + 12;
}

}  // namespace

double GraphFrame::x(int index) const { return plot.left() + plot.width() * index / (count - 1); }

double GraphFrame::y(double seconds) const { return plot.center().y() - plot.height() / 2 * seconds / range; }

int GraphFrame::indexAt(double px) const {
    const int index = static_cast<int>(std::lround((px - plot.left()) / plot.width() * (count - 1)));
    return std::clamp(index, 0, count - 1);
}

ClockLeadView::ClockLeadView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(false);
}

void ClockLeadView::showGame(CGame* game) {
    game_ = game;
    refresh();
    update();
}

void ClockLeadView::positionChanged() {
    refresh();
    if (!graphDrawn_ || series_.size() < 2) return update();
    // Only the old and the new mark need painting again.
    update(markArea(markShown_));
    update(markArea(markedIndex()));
}

void ClockLeadView::resizeEvent(QResizeEvent*) { graphDrawn_ = false; }

QRect ClockLeadView::markArea(int index) const {
    if (index < 0 || index >= frame_.count) return {};
    const int x = static_cast<int>(std::floor(frame_.x(index)));
    return QRect(x - 5, 0, 11, height());
}

void ClockLeadView::refresh() {
    if (game_ == builtFor_ && (!game_ || game_->treeRevision == builtRevision_)) return;
    series_ = game_ ? clockLeadSeries(*game_) : std::vector<ClockLead>();
    builtFor_ = game_;
    builtRevision_ = game_ ? game_->treeRevision : 0;
    graphDrawn_ = false;
    if (!game_) return setToolTip(QString());
    if (game_->isBughouse())
        setToolTip(QStringLiteral("Above zero the team of %1 and %2 has more time on the clocks, below it the team of "
                                  "%3 and %4. Click to go to a move.")
                       .arg(player(game_->WhiteA, "White A"), player(game_->BlackB, "Black B"),
                            player(game_->BlackA, "Black A"), player(game_->WhiteB, "White B")));
    else
        setToolTip(QStringLiteral("Above zero %1 has more time, below it %2. Click to go to a move.")
                       .arg(player(game_->WhiteA, "White"), player(game_->BlackA, "Black")));
}

int ClockLeadView::markedIndex() const {
    if (!game_ || !game_->current) return -1;
    const GameNode* shown = game_->current;
    for (const GameNode* node = shown; node->parent; node = node->parent)
        if (!node->isFirstChild()) shown = node->parent;
    int depth = 0;
    for (const GameNode* node = shown; node->parent; node = node->parent) ++depth;
    return depth < static_cast<int>(series_.size()) ? depth : -1;
}

void ClockLeadView::paintEvent(QPaintEvent*) {
    refresh();
    if (!graphDrawn_) drawGraph();
    QPainter painter(this);
    painter.drawPixmap(0, 0, graph_);
    markShown_ = markedIndex();
    if (series_.size() < 2 || markShown_ < 0) return;
    painter.setRenderHint(QPainter::Antialiasing);
    const double mx = std::floor(frame_.x(markShown_)) + 0.5;  // in the middle of a pixel: one sharp column
    painter.setPen(QPen(kMarkColour, 1));
    painter.drawLine(QPointF(mx, frame_.plot.top()), QPointF(mx, frame_.plot.bottom()));
    painter.setBrush(kMarkColour);
    painter.drawEllipse(QPointF(mx, frame_.y(series_[markShown_].teamMs / 1000.0)), 3.5, 3.5);
}

void ClockLeadView::drawGraph() {
    const qreal ratio = devicePixelRatioF();
    graph_ = QPixmap(size() * ratio);
    graph_.setDevicePixelRatio(ratio);
    graphDrawn_ = true;
    QPainter painter(&graph_);
    painter.setFont(font());
    painter.fillRect(rect(), palette().color(QPalette::Base));
    painter.setPen(palette().color(QPalette::Text));
    if (series_.size() < 2) {
        frame_ = GraphFrame();
        // Without a game the move list above already says so.
        if (game_) painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("No moves yet."));
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics metrics = painter.fontMetrics();
    frame_ = frameFor(series_, rect(), metrics);
    const GraphFrame& frame = frame_;
    drawAxes(painter, frame, metrics);

    // Which side is ahead above and below the zero line.
    const bool bughouse = game_->isBughouse();
    const QString above = bughouse ? player(game_->WhiteA, "White A") + '+' + player(game_->BlackB, "Black B")
                                   : player(game_->WhiteA, "White");
    const QString below = bughouse ? player(game_->BlackA, "Black A") + '+' + player(game_->WhiteB, "White B")
                                   : player(game_->BlackA, "Black");
    painter.setPen(kZeroColour.darker(130));
    const QRectF inside = frame.plot.adjusted(6, 2, -6, -2);
    painter.drawText(inside, Qt::AlignLeft | Qt::AlignTop, above + QStringLiteral(" ahead"));
    painter.drawText(inside, Qt::AlignLeft | Qt::AlignBottom, below + QStringLiteral(" ahead"));

    if (bughouse) {
        drawSeries(painter, frame, series_, &ClockLead::boardAMs, kBoardAColour, kThinLine);
        drawSeries(painter, frame, series_, &ClockLead::boardBMs, kBoardBColour, kThinLine);
    }
    drawSeries(painter, frame, series_, &ClockLead::teamMs, kTeamColour, 2.5);

    painter.setPen(palette().color(QPalette::Text));
    const int legendY = metrics.height() / 2 + 2;
    int x = 6;
    if (bughouse) {
        x = drawLegendEntry(painter, x, legendY, kTeamColour, 2.5, QStringLiteral("Team"));
        x = drawLegendEntry(painter, x, legendY, kBoardAColour, kThinLine, QStringLiteral("Board A"));
        drawLegendEntry(painter, x, legendY, kBoardBColour, kThinLine, QStringLiteral("Board B"));
    } else {
        drawLegendEntry(painter, x, legendY, kTeamColour, 2.5, QStringLiteral("White's time minus black's"));
    }
}

void ClockLeadView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) goToMoveAt(event->position().toPoint());
}

void ClockLeadView::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) goToMoveAt(event->position().toPoint());
}

void ClockLeadView::goToMoveAt(QPoint point) {
    refresh();
    if (series_.size() < 2) return;
    if (!graphDrawn_) drawGraph();
    GameNode* node = series_[frame_.indexAt(point.x())].node;
    if (node != game_->current) game_->moveTo(node);
    update();
}

}  // namespace tandemora
