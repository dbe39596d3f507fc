// "Retreive Nearby Games": how many games before and after the current one to fetch.
#include "app/dialogs/nearby_games_dialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dialogs/dialog_fields.h"

namespace tandemora {
namespace {

QLineEdit* countEdit(int count, const char* name) {
    auto* edit = new QLineEdit(QString::number(count));
    edit->setObjectName(QString::fromLatin1(name));
    acceptDigitsOnly(*edit);
    edit->setMaximumWidth(60);
    return edit;
}

}  // namespace

std::optional<std::pair<int, int>> askNearbyGames(QWidget* parent, int before, int after) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Retreive Nearby Games"));
    QLineEdit* beforeEdit = countEdit(before, "before");
    QLineEdit* afterEdit = countEdit(after, "after");

    auto* sentence = new QHBoxLayout;
    sentence->addWidget(new QLabel(QStringLiteral("Retreive")));
    sentence->addWidget(beforeEdit);
    sentence->addWidget(new QLabel(QStringLiteral("games prior to this one, and")));
    sentence->addWidget(afterEdit);
    sentence->addWidget(new QLabel(QStringLiteral("games after it.")));
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(QStringLiteral("Retreive"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QDialogButtonBox::Cancel);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(sentence);
    layout->addWidget(buttons);

    std::optional<std::pair<int, int>> counts;
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        for (QLineEdit* edit : {beforeEdit, afterEdit}) {
            if (!integerValue(edit->text(), false)) return refuseField(*edit, "Please enter a positive integer.");
        }
        counts = {*integerValue(beforeEdit->text(), false), *integerValue(afterEdit->text(), false)};
        dialog.accept();
    });
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return counts;
}

}  // namespace tandemora
