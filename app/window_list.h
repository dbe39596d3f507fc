// The list of open windows at the bottom of the Window menu, as desktop programs have it.
#pragma once

#include <QString>

class QMdiArea;
class QMenu;

namespace tandemora {

// "&1 title" for the first nine, so a digit chooses them; a title's own '&' stays a character.
QString numberedEntryText(int number, QString title);

// Each time `menu` opens, it ends with the area's open windows by their titles, the active one
// checked; choosing one brings it up and activates it.
void attachWindowList(QMenu& menu, QMdiArea& area);

}  // namespace tandemora
