// The program's icon: a white knight, drawn from the board's own piece outline.
#pragma once

#include <QIcon>

namespace tandemora {

QIcon programIcon();

}  // namespace tandemora
