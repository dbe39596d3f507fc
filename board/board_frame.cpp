#include "board/board_frame.h"

#include <QAction>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>
#include <QTimerEvent>

#include "board/promotion_dialog.h"
#include "settings/settings.h"
#include "board/board_canvas.h"
#include "board/board_environment.h"
#include "resources/command_texts.h"

namespace tandemora {

namespace {
constexpr int kReplayStepMs = 100;
constexpr int kDefaultWindowSide = 480;

// An image of `size` window pixels at `ratio` image pixels to one, in the window's colour.
QImage blankDrawing(QSize size, qreal ratio, const QColor& color) {
    QImage image(size * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(color);
    return image;
}

}  // namespace

CBoardFrame::CBoardFrame(CGame& game, bool boardB, BoardEnvironment& environment, QMdiArea& area)
    : BoardWindow(game, boardB), environment_(environment), painter_(environment.drawingResources()) {
    setWindowFlags(Qt::Widget);
    canvas_ = new BoardCanvas(*this);
    setCentralWidget(canvas_);
    createToolBars();
    subWindow_ = area.addSubWindow(this);
    subWindow_->setAttribute(Qt::WA_DeleteOnClose, false);
    subWindow_->installEventFilter(this);
    subWindow_->setGeometry(0, 0, kDefaultWindowSide, kDefaultWindowSide);
    subWindow_->hide();
}

CBoardFrame::~CBoardFrame() {
    if (replaying_) killTimer(replayTimer_);
    // The sub-window only framed this board: it goes with it.
    if (subWindow_) {
        subWindow_->removeEventFilter(this);
        subWindow_->hide();
        subWindow_->setWidget(nullptr);
        subWindow_->deleteLater();
    }
}

QAction* CBoardFrame::command(int id) const {
    const auto found = commands_.find(id);
    return found == commands_.end() ? nullptr : found->second;
}

void CBoardFrame::placeWindow(int x, int y, int width, int height) {
    subWindow_->setGeometry(x, y, width ? width : kDefaultWindowSide, height ? height : kDefaultWindowSide);
    subWindow_->show();
    repaint();
}

QSize CBoardFrame::sizeHint() const {
    const QSize side(kDefaultWindowSide, kDefaultWindowSide);
    return subWindow_ ? side.shrunkBy(subWindow_->contentsMargins()) : side;
}

BoardScene CBoardFrame::scene() const {
    const Settings& settings = environment_.settings();
    BoardScene scene{&position(), flipped, whiteLabel, blackLabel, settings.highPrecisionClocks != 0,
                     palette().color(QPalette::Base)};
    scene.markLastMove = settings.markLastMove != 0;
    scene.showCoordinates = settings.showCoordinates != 0;
    scene.largeCounts = settings.largeReserveCounts != 0;
    return scene;
}

void CBoardFrame::layoutBoard() {
    // Drawn at the screen's own pixels, so a screen of a higher ratio shows sharp edges and text.
    const qreal ratio = devicePixelRatioF();
    backBuffer_ = blankDrawing(size(), ratio, palette().color(QPalette::Base));
    painter_.layout(width(), height(), scene(), ratio);
}

QImage CBoardFrame::drawingAt(qreal ratio) const {
    const BoardScene shown = scene();
    BoardPainter painter(environment_.drawingResources());
    painter.layout(width(), height(), shown, ratio);
    QImage image = blankDrawing(size(), ratio, shown.windowColor);
    painter.paintAll(image, shown);
    // The text lines above and below the board are as high as the board's top lies low.
    const BoardLayout& l = painter.layout();
    const QSize drawn = QSize(l.bufferRight + 1, l.boardBottom + l.boardTop).boundedTo(size());
    return image.copy(QRect(QPoint(0, 0), drawn * ratio));
}

void CBoardFrame::showBackBuffer(const QRect& area) { canvas_->update(area); }

void CBoardFrame::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    layoutBoard();
    if (game().displayOn) painter_.paintAll(backBuffer_, scene());
    showBackBuffer(rect());
}

void CBoardFrame::repaint() {
    if (!game().displayOn || backBuffer_.isNull()) return;
    painter_.paintAll(backBuffer_, scene());
    showBackBuffer(rect());
}

void CBoardFrame::repaintClocks() {
    if (!game().displayOn || backBuffer_.isNull()) return;
    painter_.paintClocks(backBuffer_, scene());
    showBackBuffer(rect());
}

void CBoardFrame::relayout() {
    if (!game().displayOn) return;
    layoutBoard();
    painter_.paintAll(backBuffer_, scene());
    showBackBuffer(rect());
}

void CBoardFrame::setTitle(const std::string& title) {
    // The base title names the game's file, in the file system's bytes; what follows it (the
    // last move, the end of the game) is the game's own Latin-1 text.
    const std::string& base = baseTitle();
    const size_t baseLength = title.starts_with(base) ? base.size() : 0;
    const QString text = QFile::decodeName(QByteArray::fromStdString(title.substr(0, baseLength))) +
                         QString::fromLatin1(title.substr(baseLength));
    setWindowTitle(text);
    subWindow_->setWindowTitle(text);
}

void CBoardFrame::bringToTop() {
    if (subWindow_->isMinimized()) subWindow_->showNormal();
    subWindow_->show();
    subWindow_->raise();
    if (QMdiArea* area = subWindow_->mdiArea()) area->setActiveSubWindow(subWindow_);
}

char CBoardFrame::askPromotion(int file, int rank, bool) {
    const BoardLayout& l = painter_.layout();
    const QPoint cell = screenCell(file, rank);
    // On the destination square itself, inside its outline, where the player is looking.
    const QPoint corner = mapToGlobal(QPoint(l.boardLeft + cell.x() * l.squareSize + 1, l.boardTop + cell.y() * l.squareSize + 1));
    choosingPromotion_ = true;
    const char choice = choosePromotion(this, corner);
    choosingPromotion_ = false;
    return choice;
}

bool CBoardFrame::autoQueen() const { return environment_.settings().autoQueen != 0; }

void CBoardFrame::navigationChanged() { updateCommandStates(); }

void CBoardFrame::updateCommandStates() {
    const NavigationFlags& flags = navigation();
    const std::pair<int, bool> states[] = {
        {kRewindBoard, flags.canBackBoard},       {kBackOnBoard, flags.canBackBoard},
        {kForwardOnBoard, flags.canForwardBoard}, {kForwardOnBoardWithSkip, flags.canForwardBoard},
        {kFastForwardBoard, flags.canForwardBoard}, {kRewindGame, flags.canBackGame},
        {kBackInGame, flags.canBackGame},         {kForwardInGame, flags.canForwardGame},
        {kFastForwardGame, flags.canForwardGame}, {kStartReplay, !replaying_},
        {kStopReplay, replaying_}};
    for (const auto& [id, enabled] : states)
        if (QAction* action = command(id)) action->setEnabled(enabled);
}

void CBoardFrame::runCommand(int id) {
    CGame& g = game();
    switch (id) {
    case kRewindBoard:
    case kRewindGame: g.toStart(); break;
    case kBackOnBoard: g.backOnBoard(*this); break;
    case kForwardOnBoard: g.forwardOnBoard(*this); break;
    case kForwardOnBoardWithSkip: g.forwardToBoardTurn(*this); break;
    case kFastForwardBoard: g.toBoardEnd(*this); break;
    case kBackInGame: g.backOne(); break;
    case kForwardInGame: g.forwardOne(); break;
    case kFastForwardGame: g.toEnd(); break;
    case kFlipBoards: flipBoards(); break;
    case kStartReplay: startReplay(); break;
    case kStopReplay: stopReplay(); break;
    case kToggleMoveInfo: g.toggleMoveInfo(); break;
    case kSubmitMoveEntry: submitMoveEntry(); break;
    case kCloseDocument: subWindow_->close(); break;
    default: break;
    }
}

void CBoardFrame::flipBoards() {
    for (BoardWindow* window : {game().boardA.get(), game().boardB.get()}) {
        if (!window) continue;
        window->flipped = !window->flipped;
        window->relayout();
    }
}

void CBoardFrame::startReplay() {
    if (replaying_) return;
    replayTimer_ = startTimer(kReplayStepMs);
    if (replayTimer_ == 0) return;
    replaying_ = true;
    if (game().beginReplay(kReplayStepMs)) stopReplay();
    updateCommandStates();
}

void CBoardFrame::stopReplay() {
    if (!replaying_) return;
    killTimer(replayTimer_);
    replayTimer_ = 0;
    replaying_ = false;
    updateCommandStates();
}

void CBoardFrame::replayTick() {
    const Settings& settings = environment_.settings();
    const ReplayPace pace{settings.replaySpeed, settings.skipLongThinks != 0};
    if (game().replayStep(settings.minimumMoveDelayMs, pace)) stopReplay();
}

void CBoardFrame::timerEvent(QTimerEvent* event) {
    if (replaying_ && event->timerId() == replayTimer_) replayTick();
    QMainWindow::timerEvent(event);
}

void CBoardFrame::submitMoveEntry() {
    const std::string text = moveEntryBox_->text().toLatin1().toStdString();
    moveEntryBox_->clear();
    submitMove(text);
    moveEntryBox_->setFocus();
}

bool CBoardFrame::submitMove(const std::string& text) {
    return rules().makeMoveFromText(text, position().sideToMove != 0, true);
}

bool CBoardFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == subWindow_ && event->type() == QEvent::Close) {
        // Closing a board closes its game, which may ask a question and then destroy this
        // window: let the close event finish first.
        event->ignore();
        QTimer::singleShot(0, this, [this] { environment_.closeGame(game()); });
        return true;
    }
    // The box's editing keys are its own while it holds text; empty, it lets them step.
    const bool mayStep = watched == subWindow_ || (watched == moveEntryBox_ && moveEntryBox_->text().isEmpty());
    if (event->type() == QEvent::KeyPress && mayStep && stepByKey(*static_cast<QKeyEvent*>(event))) return true;
    if (watched == moveEntryBox_ && event->type() == QEvent::ShortcutOverride) {
        // The box keeps plain typing and pasting; the program's other Ctrl shortcuts still reach
        // their commands.
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->modifiers() & Qt::ControlModifier) && !key->matches(QKeySequence::Paste)) return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace tandemora
