// Board windows outside the program: default settings, drawing resources made from them, and
// a given area to live in; closing a game is refused. For tests and benchmarks.
#pragma once

#include <QMdiArea>

#include "settings/settings.h"
#include "board/board_environment.h"
#include "board/board_frame.h"
#include "board/painting/drawing_resources.h"

namespace tandemora {

class FixedBoardEnvironment : public BoardEnvironment, public BoardFactory {
public:
    FixedBoardEnvironment() {
        area.resize(1000, 600);
        area.show();
    }
    const Settings& settings() const override { return settingsValues; }
    const DrawingResources& drawingResources() const override { return resources; }
    bool closeGame(CGame&) override { return false; }
    std::unique_ptr<BoardWindow> createBoard(CGame& game, bool boardB) override {
        return std::make_unique<CBoardFrame>(game, boardB, *this, area);
    }

    Settings settingsValues;
    DrawingResources resources = makeDrawingResources(settingsValues, 96);
    QMdiArea area;
};

}  // namespace tandemora
