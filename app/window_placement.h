// Placements of the program's windows: the main window in screen coordinates with its frame,
// an MDI child by its sub-window's rectangle in the MDI area's viewport.
#pragma once

#include "app/window_layout.h"

class QMdiArea;
class QWidget;

namespace tandemora {

// The window's show state and its normal rectangle, also while it is minimized or maximized.
WindowPlacement placementOf(const QWidget* window);

// Gives the window the placement's normal rectangle and shows it in the placement's show state
// (an unknown one counts as normal); a placement that is not present changes nothing. An MDI
// child is given as its QMdiSubWindow.
void applyPlacement(QWidget* window, const WindowPlacement& placement);

// Makes every sub-window of the area, present and future, remember its normal rectangle, so that
// placementOf knows it while the sub-window is maximized or minimized. Call once per area.
void trackNormalGeometries(QMdiArea* area);

}  // namespace tandemora
