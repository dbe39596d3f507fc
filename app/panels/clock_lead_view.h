// The clock-lead graph: who is up on time through the active game's main line. For bughouse
// the lead of one team over the other, summed over both boards (thick), and each board's own
// difference as that team sees it (thin); for crazyhouse white's lead over black. A click or a
// drag on the graph goes to the move under the pointer.
#pragma once

#include <vector>

#include <QPixmap>
#include <QRectF>
#include <QWidget>

#include "app/panels/game_view.h"
#include "game/clock_lead.h"

namespace tandemora {

// Where the graph lies in the widget and how moves and seconds map onto it.
struct GraphFrame {
    QRectF plot;
    int count = 0;     // entries of the series, at least two
    double range = 1;  // seconds from the zero line to the top and to the bottom
    int step = 1;      // seconds between two labels

    double x(int index) const;
    double y(double seconds) const;
    int indexAt(double px) const;
};

class ClockLeadView : public QWidget, public GameView {
    Q_OBJECT
public:
    explicit ClockLeadView(QWidget* parent = nullptr);

    void showGame(CGame* game) override;
    void positionChanged() override;

    QSize sizeHint() const override { return {240, 180}; }
    QSize minimumSizeHint() const override { return {160, 100}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    // Builds the series again when the game or its tree changed since it was last built.
    void refresh();
    // The main-line entry of the game's current move, or of the move its variation leaves the
    // main line from; -1 when there is none.
    int markedIndex() const;
    void goToMoveAt(QPoint point);
    // Draws everything but the mark of the shown move into graph_, once per series and size.
    void drawGraph();
    // The part of the widget the mark of entry `index` covers.
    QRect markArea(int index) const;

    CGame* game_ = nullptr;
    const CGame* builtFor_ = nullptr;
    unsigned builtRevision_ = 0;
    std::vector<ClockLead> series_;
    // A step only moves the mark, so the rest is drawn once and copied.
    QPixmap graph_;
    bool graphDrawn_ = false;
    GraphFrame frame_;
    int markShown_ = -1;
};

}  // namespace tandemora
