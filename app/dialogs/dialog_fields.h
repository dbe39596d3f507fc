// Number fields shared by the dialogs: edits that take only digits, the numbers typed into
// them, and a refused field shown to the user.
#pragma once

#include <optional>
#include <string>

class QLineEdit;
class QString;

namespace tandemora {

// Typing is limited to digits, after an optional leading sign when `signAllowed`.
void acceptDigitsOnly(QLineEdit& edit, bool signAllowed = false);

// True for one or more decimal digits and nothing else.
bool isDigits(const QString& text);

// The integer a text holds: digits after an optional sign when `signAllowed`, within int.
std::optional<int> integerValue(const QString& text, bool signAllowed);

// Shows `message` and gives `field` the focus with its text selected, ready to be corrected.
void refuseField(QLineEdit& field, const std::string& message);

// The integer in `field` when it lies from `minimum` to `maximum`; otherwise the field is
// refused, as "Please enter an integer." or "Please enter an integer between 0 and 4000.", and
// there is none.
std::optional<int> takeInteger(QLineEdit& field, int minimum, int maximum, bool signAllowed);

}  // namespace tandemora
