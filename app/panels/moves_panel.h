// The Moves panel: the active game's moves of both boards in the order played, numbered as BPGN
// numbers them, board B's in a colour of its own, each with its clock, annotation and comment,
// and variations in brackets, indented as deep as they nest. The current move is highlighted and
// kept in view; a click on a move, or Up and Down, go to another one the way the boards' toolbar
// goes. The panel never moves the game by itself.
//
// It lays its text out itself: a long game is built and painted in well under a frame, and a
// step repaints two moves.
#pragma once

#include <unordered_map>
#include <vector>

#include <QAbstractScrollArea>

#include "app/panels/game_view.h"

namespace tandemora {

struct GameNode;

class MovesPanel : public QAbstractScrollArea, public GameView {
    Q_OBJECT
public:
    explicit MovesPanel(QWidget* parent = nullptr);

    CGame* game() const { return game_; }
    // The move (or the move of the comment word) at a point of the viewport; null elsewhere.
    GameNode* nodeAt(QPoint point) const;
    // Where a move lies in the viewport; an empty rectangle when it is not shown.
    QRect moveRect(const GameNode* node) const;
    // The panel's text as it reads, a line of text for each line shown.
    QString text() const;

    // GameView.
    void showGame(CGame* game) override;
    void positionChanged() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    enum class Style { kBoardA, kBoardB, kComment, kBracket };
    // A piece of text that is never broken across lines: a whole move, a word of a comment, or
    // a bracket.
    struct Piece {
        Style style;
        GameNode* node;   // where a click goes; null for a bracket
        QString number;   // "12A." for a move, else empty
        QString body;     // the move with its annotation, the word, the bracket
        QString clock;    // "2:55" for a move, else empty
        bool lineBefore;  // starts a line of its own
        int depth;        // variation level: the line's indent
        QRect rect;       // in the content, from the last layout
        int numberWidth = 0, bodyWidth = 0;
    };
    struct Stop {
        GameNode* node;
        int piece;  // -1 for the start position
    };

    // Builds the pieces when the tree changed, then highlights the current move. A hidden panel
    // waits until it is shown.
    void refresh();
    void rebuild();
    void clearPieces();
    void layOut();
    void highlightCurrent();
    // The user's step to the move before (-1) or after (+1) the current one, in the order shown.
    void step(int direction);
    bool upToDate() const;
    void drawPiece(QPainter& painter, const Piece& piece, bool current) const;
    QRect inViewport(const QRect& content) const;

    QFont boldFont_, italicFont_;  // of move numbers and of comments
    CGame* game_ = nullptr;
    bool built_ = false;
    unsigned builtRevision_ = 0;
    std::vector<Piece> pieces_;                         // in reading order
    std::vector<Stop> stops_;                           // the start, then the moves as shown
    std::unordered_map<const GameNode*, int> stopOf_;   // a node's place in stops_
    int currentPiece_ = -1;
    int laidOutWidth_ = -1;
    int contentHeight_ = 0;
};

}  // namespace tandemora
