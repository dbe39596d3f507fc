// The pictures on the toolbar buttons, drawn in code: 20 x 21 pixels for the board windows'
// buttons, 16 x 15 for the main toolbar's.
#pragma once

#include <QIcon>
#include <QSize>

namespace tandemora {

// The context-help button of the main toolbar, which has no command of its own.
inline constexpr int kContextHelpPicture = 57669;

inline constexpr QSize kBoardButtonSize{20, 21};
inline constexpr QSize kMainButtonSize{16, 15};

// The picture of a command's button; a null icon for a command without one.
QIcon toolbarIcon(int commandId);

}  // namespace tandemora
