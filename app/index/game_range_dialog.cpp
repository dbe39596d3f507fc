#include "app/index/game_range_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/dialogs/dialog_fields.h"
#include "app/dialogs/message_box.h"

namespace tandemora {

namespace {

QLineEdit* gameEdit(int game, const char* id) {
    auto* edit = new QLineEdit(QString::number(game));
    edit->setObjectName(QString::fromLatin1(id));
    acceptDigitsOnly(*edit);
    return edit;
}

}  // namespace

CGameRangeDialog::CGameRangeDialog(int gamesFound, QWidget* parent) : QDialog(parent), gamesFound_(gamesFound) {
    setWindowTitle(QStringLiteral("Game Range Selection"));
    auto* found = new QLabel(QString::number(gamesFound));
    found->setObjectName(QStringLiteral("1072"));
    first_ = gameEdit(range_.first, "1070");
    last_ = gameEdit(range_.second, "1071");
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(QStringLiteral("Show Games"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &CGameRangeDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CGameRangeDialog::reject);

    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("Games found:"), found);
    form->addRow(QStringLiteral("First game to show:"), first_);
    form->addRow(QStringLiteral("Last game to show:"), last_);
    form->addRow(buttons);
}

void CGameRangeDialog::accept() {
    std::optional<int> numbers[2];
    QLineEdit* edits[2] = {first_, last_};
    for (int i = 0; i < 2; ++i)
        if (!(numbers[i] = integerValue(edits[i]->text(), false)))
            return refuseField(*edits[i], "Please enter a positive integer.");
    const int first = *numbers[0], last = *numbers[1];
    if (first < 1 || last < 1 || last > gamesFound_)
        return refuseField(first < 1 ? *first_ : *last_, "Selection out of range.");
    range_ = {first, last};
    QDialog::accept();
}

std::optional<std::pair<int, int>> askGameRange(QWidget* parent, int gamesFound) {
    CGameRangeDialog dialog(gamesFound, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.range();
}

}  // namespace tandemora
