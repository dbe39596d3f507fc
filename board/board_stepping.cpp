// Stepping through the game from the keyboard and the mouse wheel, as the toolbars' buttons do.
#include <QKeyEvent>
#include <cstdlib>

#include "board/board_frame.h"
#include "resources/command_texts.h"

namespace tandemora {

namespace {

// One notch of a mouse wheel; touchpads send smaller turns that add up to it.
constexpr int kWheelNotch = 120;

// The toolbar command of a stepping key, 0 for any other key or with Shift, Ctrl or Alt held.
int stepCommand(const QKeyEvent& key) {
    if (key.modifiers() & ~Qt::KeypadModifier) return 0;
    switch (key.key()) {
    case Qt::Key_Left: return kBackOnBoard;
    case Qt::Key_Right: return kForwardOnBoard;
    case Qt::Key_Home: return kRewindGame;
    case Qt::Key_End: return kFastForwardGame;
    default: return 0;
    }
}

}  // namespace

bool CBoardFrame::stepByKey(const QKeyEvent& key) {
    const int id = stepCommand(key);
    if (id == 0) return false;
    step(id);
    return true;
}

void CBoardFrame::step(int id) {
    if (moveInProgress()) return;  // the piece in hand belongs to this position
    const NavigationFlags& flags = navigation();
    const bool possible = id == kBackOnBoard      ? flags.canBackBoard
                          : id == kForwardOnBoard ? flags.canForwardBoard
                          : id == kRewindGame     ? flags.canBackGame
                                                  : flags.canForwardGame;
    if (possible) runCommand(id);
}

void CBoardFrame::keyPressEvent(QKeyEvent* event) {
    if (!stepByKey(*event)) QMainWindow::keyPressEvent(event);
}

void CBoardFrame::wheelOverBoard(int angle) {
    wheelAngle_ += angle;
    while (std::abs(wheelAngle_) >= kWheelNotch) {
        const bool back = wheelAngle_ > 0;
        wheelAngle_ -= back ? kWheelNotch : -kWheelNotch;
        step(back ? kBackOnBoard : kForwardOnBoard);
    }
}

}  // namespace tandemora
