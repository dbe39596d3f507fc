// The board window's two toolbars, "Board controls" with the move-entry box and "Game
// controls", docked along the window's bottom edge and free to float.
#include <QAction>
#include <QLineEdit>
#include <QShortcut>
#include <QToolBar>

#include "board/board_frame.h"
#include "resources/command_texts.h"
#include "resources/toolbar_icons.h"

namespace tandemora {

namespace {

QToolBar* makeToolBar(QMainWindow& window, const char* caption) {
    auto* bar = new QToolBar(QString::fromLatin1(caption), &window);
    bar->setObjectName(QString::fromLatin1(caption));
    bar->setAllowedAreas(Qt::BottomToolBarArea);
    bar->setFloatable(true);
    bar->setMovable(true);
    bar->setIconSize(QSize(20, 21));
    // Buttons as tight as the pictures, so both bars share one row of a 480-pixel window.
    bar->setStyleSheet(QStringLiteral("QToolBar { spacing: 0px; } QToolButton { padding: 0px; margin: 0px; }"));
    window.addToolBar(Qt::BottomToolBarArea, bar);
    return bar;
}

}  // namespace

QAction* CBoardFrame::addCommand(QToolBar& bar, int id) {
    const CommandText& text = commandText(id);
    QAction* action = bar.addAction(toolbarIcon(id), QString::fromLatin1(text.tooltip));
    action->setStatusTip(QString::fromLatin1(text.prompt));
    action->setToolTip(QString::fromLatin1(text.tooltip));
    action->setData(id);
    connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
    commands_[id] = action;
    return action;
}

void CBoardFrame::createToolBars() {
    setDockOptions(QMainWindow::AnimatedDocks);
    QToolBar* board = makeToolBar(*this, "Board controls");
    for (int id : {kRewindBoard, kBackOnBoard, kForwardOnBoard}) addCommand(*board, id);
    // The skip button exists only where there is another board to skip.
    if (game().isBughouse()) addCommand(*board, kForwardOnBoardWithSkip);
    addCommand(*board, kFastForwardBoard);
    auto* gap = new QWidget(board);
    gap->setFixedWidth(12);
    board->addWidget(gap);
    moveEntryBox_ = new QLineEdit(board);
    moveEntryBox_->setFixedSize(game().isBughouse() ? 54 : 46, 24);
    moveEntryBox_->installEventFilter(this);
    board->addWidget(moveEntryBox_);
    // Enter submits the box once, after the key has been handled.
    connect(moveEntryBox_, &QLineEdit::returnPressed, this,
            [this] { QMetaObject::invokeMethod(this, [this] { runCommand(kSubmitMoveEntry); }, Qt::QueuedConnection); });

    if (hasGameControls()) {
        QToolBar* controls = makeToolBar(*this, "Game controls");
        for (int id : {kRewindGame, kBackInGame, kForwardInGame, kFastForwardGame, kFlipBoards, kToggleMoveInfo,
                       kStartReplay, kStopReplay})
            addCommand(*controls, id);
    }

    // Ctrl+C closes the board window, wherever the focus is inside it.
    auto* close = new QAction(this);
    close->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    close->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    close->setStatusTip(QString::fromLatin1(commandText(kCloseDocument).prompt));
    connect(close, &QAction::triggered, this, [this] { runCommand(kCloseDocument); });
    addAction(close);
    commands_[kCloseDocument] = close;
    updateCommandStates();
}

}  // namespace tandemora
