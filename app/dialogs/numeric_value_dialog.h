// "Enter Numeric Value": one signed integer typed by the user.
#pragma once

#include <optional>

class QString;
class QWidget;

namespace tandemora {

// Asks for an integer from `minimum` to `maximum` under `label`, starting from `value`; nothing
// when cancelled.
std::optional<int> enterNumericValue(QWidget* parent, const QString& label, int value, int minimum, int maximum);

}  // namespace tandemora
