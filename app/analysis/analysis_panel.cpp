#include "app/analysis/analysis_panel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QPushButton>
#include <QVBoxLayout>

#include "board/board_frame.h"
#include "engine/engine_fen.h"
#include "engine/engine_moves.h"
#include "settings/settings.h"

namespace tandemora {

namespace {

// Long enough to gather a burst of changes, short enough that the search follows at once.
constexpr int kRestartDelayMs = 5;
// A line shows no more moves than fit beside the panel; translating more would be wasted.
constexpr size_t kMovesShown = 12;

// The evaluation from White's side: "+0.35", "White mates in 3", "Black is mated".
std::string evaluationText(const Score& white) {
    if (!white.mate) return formatScore(white);
    if (white.value == 0) return white.wins ? "Black is mated" : "White is mated";
    return std::string(white.wins ? "White" : "Black") + " mates in " + std::to_string(white.value);
}

std::string speedText(long long nps) {
    if (nps >= 1000000) return QString::number(nps / 1e6, 'f', 2).toStdString() + " M nodes/s";
    if (nps >= 1000) return std::to_string(nps / 1000) + " k nodes/s";
    return std::to_string(nps) + " nodes/s";
}

std::string variantText(const CBoardFrame& board) {
    if (!board.game().isBughouse()) return "Crazyhouse";
    return board.isBoardB() ? "Bughouse, board B" : "Bughouse, board A";
}

QLabel* makeLabel(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace

AnalysisPanel::AnalysisPanel(const Settings& settings, QMainWindow& window)
    : QDockWidget(QStringLiteral("Analysis"), &window),
      settings_(settings),
      engine_([this](const EngineEvent& event) { showAnalysis(event); }, [this](const std::string& text) { showMessage(text); },
              this) {
    setObjectName(QStringLiteral("analysisPanel"));  // how the saved window state knows it
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    auto* contents = new QWidget(this);
    onOff_ = new QPushButton(QStringLiteral("Analyse"), contents);
    onOff_->setObjectName(QStringLiteral("onOff"));
    onOff_->setCheckable(true);
    onOff_->setToolTip(QStringLiteral("Let the engine analyse the active board"));
    variant_ = makeLabel("variant", contents);
    evaluation_ = makeLabel("evaluation", contents);
    QFont large = evaluation_->font();
    large.setBold(true);
    large.setPointSizeF(large.pointSizeF() * 1.4);
    evaluation_->setFont(large);
    figures_ = makeLabel("figures", contents);
    message_ = makeLabel("message", contents);
    message_->setWordWrap(true);
    message_->hide();
    lines_ = new QListWidget(contents);
    lines_->setObjectName(QStringLiteral("lines"));
    lines_->setToolTip(QStringLiteral("Double-click a line to play its first move on the board"));
    // A line wraps in a narrow dock rather than hiding its end behind a scroll bar.
    lines_->setWordWrap(true);
    lines_->setResizeMode(QListView::Adjust);
    lines_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    auto* top = new QHBoxLayout;
    top->addWidget(onOff_);
    top->addWidget(variant_, 1);
    auto* layout = new QVBoxLayout(contents);
    layout->addLayout(top);
    layout->addWidget(evaluation_);
    layout->addWidget(figures_);
    layout->addWidget(message_);
    layout->addWidget(lines_, 1);
    setWidget(contents);

    restart_.setSingleShot(true);
    restart_.setInterval(kRestartDelayMs);
    connect(&restart_, &QTimer::timeout, this, &AnalysisPanel::analyseBoard);
    connect(onOff_, &QPushButton::toggled, this, &AnalysisPanel::setRunning);
    connect(this, &QDockWidget::visibilityChanged, this, &AnalysisPanel::scheduleAnalysis);
    connect(lines_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) { playLine(lines_->row(item)); });
    window.addDockWidget(Qt::RightDockWidgetArea, this);
    hide();
}

void AnalysisPanel::boardActivated(CBoardFrame* board) {
    board_ = board;
    scheduleAnalysis();
}

void AnalysisPanel::optionsChanged() {
    if (!onOff_->isChecked()) return;  // taken when the analysis is turned on
    setRunning(true);
}

void AnalysisPanel::showGame(CGame* game) {
    if (game && (!board_ || &board_->game() != game)) board_ = dynamic_cast<CBoardFrame*>(game->boardA.get());
    scheduleAnalysis();
}

void AnalysisPanel::positionChanged() { scheduleAnalysis(); }

bool AnalysisPanel::running() const { return onOff_->isChecked() && isVisible(); }

void AnalysisPanel::setRunning(bool on) {
    onOff_->setText(on ? QStringLiteral("Stop") : QStringLiteral("Analyse"));
    stopAnalysis();
    showMessage({});
    // Turning the analysis on takes the options as they are now and tries a missing or
    // failing engine again.
    if (on) engine_.configure(settings_.engineProgram, {settings_.engineThreads, settings_.engineHashMb, 1});
    scheduleAnalysis();
}

void AnalysisPanel::scheduleAnalysis() {
    if (!restart_.isActive()) restart_.start();
}

void AnalysisPanel::analyseBoard() {
    const CBoardFrame* board = board_;
    if (!running() || !board) {
        stopAnalysis();
        variant_->setText(board ? QString::fromStdString(variantText(*board)) : QStringLiteral("No board"));
        return;
    }
    variant_->setText(QString::fromStdString(variantText(*board)));
    const EngineVariant variant = board->game().isBughouse() ? EngineVariant::kBughouse : EngineVariant::kCrazyhouse;
    const std::string fen = engineFen(board->position());
    const std::string key = fen + ' ' + engineVariantName(variant) + ' ' + std::to_string(settings_.engineLines);
    // The same position again, as after a flip or on the other board of a new game.
    if (key == analysedKey_) return;
    clearAnalysis();
    showMessage({});
    analysedKey_ = key;
    analysedPosition_ = board->position();
    analysedVariant_ = variant;
    positionId_ = engine_.analyse(fen, variant, settings_.engineLines);
}

void AnalysisPanel::stopAnalysis() {
    engine_.stop();
    analysedKey_.clear();
    positionId_ = 0;
    clearAnalysis();
}

void AnalysisPanel::clearAnalysis() {
    evaluation_->clear();
    figures_->clear();
    speed_ = 0;
    shownId_ = 0;
    lines_->clear();
    shown_.clear();
}

void AnalysisPanel::showMessage(const std::string& text) {
    message_->setText(QString::fromStdString(text));
    message_->setVisible(!text.empty());
}

void AnalysisPanel::showAnalysis(const EngineEvent& event) {
    if (event.kind != EngineEvent::kAnalysis || event.position != positionId_ || positionId_ == 0) return;
    const bool whiteToMove = analysedPosition_.sideToMove != 0;
    if (!event.lines.empty()) evaluation_->setText(QString::fromStdString(evaluationText(whiteView(event.lines[0].score, whiteToMove))));
    shownId_ = event.position;
    if (event.nps) speed_ = event.nps;  // not every line gives it
    figures_->setText(QString::fromStdString("Depth " + std::to_string(event.depth) + (speed_ ? "    " + speedText(speed_) : "")));
    shown_.resize(event.lines.size());
    while (lines_->count() < static_cast<int>(event.lines.size())) lines_->addItem(QString());
    for (size_t i = 0; i < event.lines.size(); ++i) {
        const AnalysisLine& line = event.lines[i];
        ShownLine& shown = shown_[i];
        if (line.pv.empty()) continue;  // not given yet
        if (line.pv != shown.pv) {
            shown.pv = line.pv;
            const std::vector<std::string> leading(line.pv.begin(), line.pv.begin() + std::min(line.pv.size(), kMovesShown));
            shown.moves = translateLine(analysedPosition_, leading, analysedVariant_);
        }
        std::string text = formatScore(whiteView(line.score, whiteToMove)) + " ";
        for (const std::string& move : shown.moves) text += " " + move;
        lines_->item(static_cast<int>(i))->setText(QString::fromLatin1(text));
    }
}

void AnalysisPanel::playLine(int row) {
    CBoardFrame* board = board_;
    if (!board || row < 0 || static_cast<size_t>(row) >= shown_.size() || shown_[row].moves.empty()) return;
    // The lines are of the position analysed; the board may have moved on since.
    if (engineFen(board->position()) != engineFen(analysedPosition_)) return;
    board->submitMove(shown_[row].moves.front());
}

}  // namespace tandemora
