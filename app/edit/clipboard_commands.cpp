#include "app/edit/clipboard_commands.h"

#include <sstream>

#include <QClipboard>
#include <QGuiApplication>
#include <QString>

#include "app/dialogs/message_box.h"
#include "app/tandemora_app.h"
#include "engine/engine_fen.h"
#include "game/game.h"

namespace tandemora {

namespace {

constexpr char16_t kByteOrderMark = 0xFEFF;

// The number of the next move on one board: that of the board's last move, one more when
// Black made it; 1 before the board's first move.
int fullMoveNumber(const CGame& game, bool boardB) {
    const GameNode* node = game.current;
    while (node && node->parent && node->onBoardB() != boardB) node = node->parent;
    if (!node || !node->parent) return 1;
    return node->moveNumber + (node->whiteMoved() ? 0 : 1);
}

std::string boardText(const CGame& game, const BoardWindow& board) {
    return engineFen(board.position(), fullMoveNumber(game, board.isBoardB()));
}

}  // namespace

std::string positionText(const CGame& game) {
    std::string text = boardText(game, *game.boardA);
    if (game.isBughouse() && game.boardB) text += " | " + boardText(game, *game.boardB);
    return text;
}

std::string clipboardBytes(const QString& text) {
    QString kept = text;
    kept.remove(QChar(kByteOrderMark));
    return kept.toLatin1().toStdString();
}

void copyPosition(const CGame& game) {
    if (game.boardA) QGuiApplication::clipboard()->setText(QString::fromLatin1(positionText(game)));
}

void copyGame(CGame& game) {
    std::ostringstream text;
    game.storeGameToStream(text);
    QGuiApplication::clipboard()->setText(QString::fromLatin1(text.str()));
}

void pasteGame(CTandemoraApp& app) {
    std::string text = clipboardBytes(QGuiApplication::clipboard()->text());
    if (text.find_first_not_of(" \t\r\n") == std::string::npos) {
        showMessageBox(&app.mainFrameWidget(), "The clipboard holds no text to read games from.");
        return;
    }
    app.openPastedText(std::move(text));
}

}  // namespace tandemora
