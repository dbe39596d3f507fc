// "Enter Numeric Value": one signed integer typed by the user.
#include "app/dialogs/numeric_value_dialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/dialogs/dialog_fields.h"

namespace tandemora {

std::optional<int> enterNumericValue(QWidget* parent, const QString& label, int value, int minimum, int maximum) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Enter Numeric Value"));
    auto* caption = new QLabel(label);
    auto* edit = new QLineEdit(QString::number(value));
    edit->setObjectName(QStringLiteral("value"));
    acceptDigitsOnly(*edit, true);
    caption->setBuddy(edit);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);

    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(caption);
    layout->addWidget(edit);
    layout->addWidget(buttons);

    std::optional<int> entered;
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        entered = takeInteger(*edit, minimum, maximum, true);
        if (entered) dialog.accept();
    });
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return entered;
}

}  // namespace tandemora
