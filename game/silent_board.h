// A board without a window: for replaying games silently, for the tools and for tests.
#pragma once

#include "game/board_window.h"

namespace tandemora {

class SilentBoard : public BoardWindow {
public:
    using BoardWindow::BoardWindow;
    void setTitle(const std::string& title) override { title_ = title; }
    void repaint() override {}
    void relayout() override {}
    void repaintClocks() override {}
    void bringToTop() override {}
    void navigationChanged() override {}
    bool autoQueen() const override { return true; }
    char askPromotion(int, int, bool) override { return 'Q'; }
    const std::string& title() const { return title_; }

private:
    std::string title_;
};

class SilentBoardFactory : public BoardFactory {
public:
    std::unique_ptr<BoardWindow> createBoard(CGame& game, bool boardB) override {
        return std::make_unique<SilentBoard>(game, boardB);
    }
};

}  // namespace tandemora
