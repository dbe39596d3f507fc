// "Current Move Information": the current move of one game, its time, annotation and comment
// for editing, and the moves that continue it or replace it, to step to.
#pragma once

#include <vector>

#include <QDialog>

#include "game/move_info.h"

class QLineEdit;
class QListWidget;
class QPlainTextEdit;

namespace tandemora {

class CGame;

// A modeless tool window owned by its game (`CGame::moveInfoDialog`). Closing it makes the game
// drop, and so destroy, it.
class MoveInfoDialog : public QDialog, public MoveInfoView {
    Q_OBJECT
public:
    explicit MoveInfoDialog(CGame& game);

    void fill() override;
    // Moves the dialog, keeping its size, so that its top-left corner is at the bottom-left
    // corner of `window`.
    void placeBelow(const QWidget* window);
    // The close box and Escape end here: the game lets go of the dialog.
    void done(int result) override;

protected:
    // Enter and Space choose the current line of a move list.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyChanges();
    // The user chose line `row` of one of the two lists: the game steps to that move.
    void choose(const QListWidget* list, int row);

    CGame& game_;
    QLineEdit* move_;
    QLineEdit* time_;
    QLineEdit* annotation_;
    QPlainTextEdit* comment_;
    QListWidget* nextMoves_;
    QListWidget* alternatives_;
    // For each list line, the number selectChild / selectAlternative take.
    std::vector<int> nextMoveChildren_;
    std::vector<int> alternativeIndexes_;
};

}  // namespace tandemora
