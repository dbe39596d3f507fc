// The Analysis dock: the engine's evaluation and best lines for the active board, following
// every change of its position while the analysis is on and the dock is seen.
#pragma once

#include <string>
#include <vector>

#include <QDockWidget>
#include <QPointer>
#include <QTimer>

#include "app/analysis/engine_process.h"
#include "app/panels/game_view.h"
#include "core/board.h"

class QLabel;
class QListWidget;
class QMainWindow;
class QPushButton;

namespace tandemora {

class CBoardFrame;
struct Settings;

class AnalysisPanel : public QDockWidget, public GameView {
public:
    // Docked on the right of `window`, hidden until the View menu or a saved state shows it.
    AnalysisPanel(const Settings& settings, QMainWindow& window);

    // A board window became the active window: it is the board analysed from now on.
    void boardActivated(CBoardFrame* board);
    // The engine's options changed: the engine starts again with them.
    void optionsChanged();

    // GameView: another active game is analysed on its board A, unless the board the user last
    // activated is one of its own.
    void showGame(CGame* game) override;
    void positionChanged() override;

    AnalysisEngine& engine() { return engine_; }
    // The engine's id of the position whose analysis is shown, 0 while none is.
    unsigned shownPosition() const { return shownId_; }

private:
    bool running() const;
    void setRunning(bool on);
    void scheduleAnalysis();
    void analyseBoard();
    void stopAnalysis();
    void showAnalysis(const EngineEvent& event);
    void showMessage(const std::string& text);
    void clearAnalysis();
    void playLine(int row);

    const Settings& settings_;
    AnalysisEngine engine_;
    QPointer<CBoardFrame> board_;
    // Changes of the position come in bursts (replay, a new game): one search follows them.
    QTimer restart_;

    // The position being analysed, as the engine was given it.
    std::string analysedKey_;  // FEN, variant and number of lines
    Board analysedPosition_;
    EngineVariant analysedVariant_ = EngineVariant::kCrazyhouse;
    unsigned positionId_ = 0;
    long long speed_ = 0;  // nodes per second, as last given
    unsigned shownId_ = 0;
    // Per line shown: the engine's moves and the leading ones in our notation, translated
    // again only when the engine changes the line.
    struct ShownLine {
        std::vector<std::string> pv;
        std::vector<std::string> moves;
    };
    std::vector<ShownLine> shown_;

    QPushButton* onOff_;
    QLabel* variant_;
    QLabel* evaluation_;
    QLabel* figures_;
    QLabel* message_;
    QListWidget* lines_;
};

}  // namespace tandemora
