// The window that shows one board of a game: squares, both reserves, names and clocks, with its
// two toolbars, the move-entry box, mouse input and the replay timer.
#pragma once

#include <map>

#include <QImage>
#include <QMainWindow>
#include <QPoint>

#include "board/painting/board_painter.h"
#include "game/game.h"

class QAction;
class QLineEdit;
class QMdiArea;
class QMdiSubWindow;
class QToolBar;

namespace tandemora {

class BoardCanvas;
class BoardEnvironment;

class CBoardFrame : public QMainWindow, public BoardWindow {
    Q_OBJECT
public:
    // A board window inside `area`, hidden until placed.
    CBoardFrame(CGame& game, bool boardB, BoardEnvironment& environment, QMdiArea& area);
    ~CBoardFrame() override;

    QMdiSubWindow* subWindow() const { return subWindow_; }
    bool hasGameControls() const { return !isBoardB(); }
    bool replaying() const { return replaying_; }
    QLineEdit* moveEntryBox() const { return moveEntryBox_; }
    QAction* command(int id) const;
    const BoardLayout& boardLayout() const { return painter_.layout(); }
    const QImage& backBuffer() const { return backBuffer_; }
    // What the window draws (board, reserves, names and clocks; not its empty margins), painted
    // afresh at `ratio` image pixels to a pixel of the window.
    QImage drawingAt(qreal ratio) const;

    // Moves and sizes the window on the main window's client area; 0 means 480.
    void placeWindow(int x, int y, int width, int height);
    // The size inside a window of the size a board opens with, which Cascade gives it.
    QSize sizeHint() const override;
    void startReplay();
    void stopReplay();
    // One tick of the replay timer.
    void replayTick();
    void flipBoards();
    // Plays a move in the program's notation for the side to move, as one typed into the
    // move-entry box: a variation when the game already goes on otherwise. False, reported,
    // when it is not legal.
    bool submitMove(const std::string& text);

    // BoardWindow.
    void setTitle(const std::string& title) override;
    void repaint() override;  // repaintAll: names, clocks, buffer and board, without erasing
    void repaintClocks() override;
    void relayout() override;
    void bringToTop() override;
    void navigationChanged() override;
    bool autoQueen() const override;
    bool moveInProgress() const override { return inHand_ || choosingPromotion_; }
    char askPromotion(int file, int rank, bool white) override;

    // Mouse input on the board area, in window coordinates.
    void pressAt(QPoint point);
    void dragTo(QPoint point);
    void releaseAt(QPoint point);
    // The wheel turned over the board by `angle` eighths of a degree: away from the user steps
    // back on this board, towards the user forward, a notch at a time.
    void wheelOverBoard(int angle);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createToolBars();
    QAction* addCommand(QToolBar& bar, int id);
    void runCommand(int id);
    void submitMoveEntry();
    void updateCommandStates();
    BoardScene scene() const;
    void layoutBoard();
    void showBackBuffer(const QRect& area);
    // Screen column and row of a square, and back.
    QPoint screenCell(int file, int rank) const;
    bool squareAt(QPoint point, int& file, int& rank) const;
    bool pickUpFromBoard(QPoint point, int column, int row);
    bool pickUpFromBuffer(QPoint point);
    void putBack();
    // Left and Right step on this board, Home and End go to the game's start and end, as the
    // toolbars' buttons do; false for any other key, which is left alone.
    bool stepByKey(const QKeyEvent& key);
    void step(int id);

    BoardEnvironment& environment_;
    QMdiSubWindow* subWindow_ = nullptr;
    BoardCanvas* canvas_ = nullptr;
    QLineEdit* moveEntryBox_ = nullptr;
    std::map<int, QAction*> commands_;
    BoardPainter painter_;
    QImage backBuffer_;

    bool replaying_ = false;
    int replayTimer_ = 0;
    bool choosingPromotion_ = false;

    // The piece in hand, from a successful pick-up to the release of the button.
    bool inHand_ = false;
    bool fromBoard_ = false;
    char piece_ = ' ';
    int typeIndex_ = 0;
    PieceColour colour_ = PieceColour::White;
    int sourceA_ = 0, sourceB_ = 0;  // file and rank, or type index and colour of a buffer cell
    QPoint sourcePixel_, grabOffset_, lastDrawn_;
    QImage savedBackground_;

    int wheelAngle_ = 0;  // turned since the last step, less than a notch
};

}  // namespace tandemora
