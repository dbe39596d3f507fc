// The list of open windows at the bottom of the Window menu, as desktop programs have it.
#pragma once

class QMdiArea;
class QMenu;

namespace tandemora {

// Each time `menu` opens, it ends with the area's open windows by their titles, the active one
// checked; choosing one brings it up and activates it.
void attachWindowList(QMenu& menu, QMdiArea& area);

}  // namespace tandemora
