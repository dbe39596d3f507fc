#include "game/board_window.h"

#include "game/game.h"
#include "game/messages.h"

namespace tandemora {

const char* BoardWindow::previousBoardSquares() {
    const Board* previous = game_.previousBoardPosition(*this);
    return previous ? previous->squares : nullptr;
}

char BoardWindow::choosePromotionPiece(int file, int rank, bool white) {
    // Silent reading and replay never ask: an open promotion takes a queen.
    if (!game_.displayOn || autoQueen()) return 'Q';
    return askPromotion(file, rank, white);
}

void BoardWindow::moveMade(const std::string& notation, bool whiteMoved, int capturedIndex) {
    game_.storeMoveIntoTree(*this, notation, whiteMoved, capturedIndex);
}

void BoardWindow::reportIllegalMove(const std::string& text) { showMessage("Illegal move: " + text); }

}  // namespace tandemora
