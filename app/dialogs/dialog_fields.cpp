// Number fields shared by the dialogs.
#include "app/dialogs/dialog_fields.h"

#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

#include "app/dialogs/message_box.h"

namespace tandemora {

void acceptDigitsOnly(QLineEdit& edit, bool signAllowed) {
    const QRegularExpression pattern(signAllowed ? QStringLiteral("[+-]?[0-9]*") : QStringLiteral("[0-9]*"));
    edit.setValidator(new QRegularExpressionValidator(pattern, &edit));
}

bool isDigits(const QString& text) {
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    return digits.match(text).hasMatch();
}

std::optional<int> integerValue(const QString& text, bool signAllowed) {
    const bool sign = !text.isEmpty() && (text[0] == u'+' || text[0] == u'-');
    if ((sign && !signAllowed) || !isDigits(sign ? text.mid(1) : text)) return std::nullopt;
    bool inRange = false;
    const int value = text.toInt(&inRange);
    if (!inRange) return std::nullopt;
    return value;
}

void refuseField(QLineEdit& field, const std::string& message) {
    showMessageBox(field.window(), message);
    field.setFocus();
    field.selectAll();
}

std::optional<int> takeInteger(QLineEdit& field, int minimum, int maximum, bool signAllowed) {
    const std::optional<int> value = integerValue(field.text(), signAllowed);
    if (value && *value >= minimum && *value <= maximum) return value;
    // More digits than an integer holds are out of the range as well.
    static const QRegularExpression sign(QStringLiteral("^[+-]"));
    if (value || isDigits(signAllowed ? field.text().remove(sign) : field.text()))
        refuseField(field, "Please enter an integer between " + std::to_string(minimum) + " and " +
                               std::to_string(maximum) + ".");
    else
        refuseField(field, "Please enter an integer.");
    return std::nullopt;
}

}  // namespace tandemora
