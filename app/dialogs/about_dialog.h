// The About box.
#pragma once

class QWidget;

namespace tandemora {

void showAbout(QWidget* parent);

}  // namespace tandemora
