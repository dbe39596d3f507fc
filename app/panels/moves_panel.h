// The Moves panel: the active game's moves of both boards in the order played, numbered as BPGN
// numbers them, board B's in a colour of its own, each with its clock, annotation and comment,
// and variations in brackets, indented as deep as they nest. The current move is highlighted and
// kept in view; a click on a move, or Up and Down, go to another one the way the boards' toolbar
// goes. The panel never moves the game by itself.
#pragma once

#include <unordered_map>
#include <vector>

#include <QTextEdit>

#include "app/panels/game_view.h"

namespace tandemora {

struct GameNode;

class MovesPanel : public QTextEdit, public GameView {
    Q_OBJECT
public:
    explicit MovesPanel(QWidget* parent = nullptr);

    CGame* game() const { return game_; }
    // The move whose text (or comment) lies at a point of the viewport; null elsewhere.
    GameNode* nodeAt(QPoint point) const;
    // Where a move's text lies in the document, or an empty range when it is not shown.
    std::pair<int, int> moveRange(const GameNode* node) const;

    // GameView.
    void showGame(CGame* game) override;
    void positionChanged() override;

protected:
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct Span {
        int start, end;
        GameNode* node;
    };
    // Builds the text when the tree changed, then highlights the current move. A hidden panel
    // waits until it is shown.
    void refresh();
    void rebuild();
    void clearText();
    void highlightCurrent();
    // The user's step to the move before (-1) or after (+1) the current one, in the order shown.
    void step(int direction);
    bool upToDate() const;

    CGame* game_ = nullptr;
    bool built_ = false;
    unsigned builtRevision_ = 0;
    std::vector<Span> spans_;                           // moves and comments, in the text's order
    std::vector<GameNode*> order_;                      // the start, then the moves as shown
    std::unordered_map<const GameNode*, int> ordinal_;  // a node's place in order_
    std::vector<std::pair<int, int>> moveRanges_;       // by place in order_; empty for the start
};

}  // namespace tandemora
