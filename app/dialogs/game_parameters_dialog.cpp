// "Game Parameters": the game's header edited by the user.
#include "app/dialogs/game_parameters_dialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

#include "app/dialogs/dialog_fields.h"
#include "game/game.h"
#include "game/game_parameters.h"

namespace tandemora {
namespace {

using Text = std::string GameParameters::*;

struct LineField {
    const char* label;
    const char* name;
    Text value;
    bool digitsOnly;
};

struct PlayerField {
    const char* label;
    const char* name;
    Text value;
    Text rating;
    bool boardB;
};

const char* const kEventLabel =
    "Event name (the word bughouse or crazyhouse must be present in the event name):";

const LineField kEventFields[] = {
    {"Site:", "site", &GameParameters::site, false},
    {"Date:", "date", &GameParameters::date, false},
};

const PlayerField kPlayerFields[] = {
    {"Board 1 white:", "whiteA", &GameParameters::whiteA, &GameParameters::whiteAElo, false},
    {"Board 1 black:", "blackA", &GameParameters::blackA, &GameParameters::blackAElo, false},
    {"Board 2 white:", "whiteB", &GameParameters::whiteB, &GameParameters::whiteBElo, true},
    {"Board 2 black:", "blackB", &GameParameters::blackB, &GameParameters::blackBElo, true},
};

const LineField kGameFields[] = {
    {"Time limit (sec):", "baseSeconds", &GameParameters::baseSeconds, true},
    {"Time increment:", "incrementSeconds", &GameParameters::incrementSeconds, true},
    {"Result (i.e. 1-0):", "result", &GameParameters::result, false},
    {"Result description:", "resultDescription", &GameParameters::resultDescription, false},
};

}  // namespace

class GameParametersDialog : public QDialog {
    Q_OBJECT
public:
    GameParametersDialog(CGame& game, QWidget* parent);

    // OK: stores the fields, or names the one to correct and stays open.
    void accept() override;

private:
    struct Field {
        QLineEdit* edit;
        Text value;
    };

    QLineEdit* addEdit(Text value, const QString& name, bool digitsOnly);
    QLineEdit& edit(Text value) const;
    QGroupBox* eventGroup();
    QGroupBox* playerGroup();
    QGroupBox* gameGroup();
    GameParameters typed() const;
    QLineEdit& fieldToCorrect(const GameParameters& parameters) const;

    CGame& game_;
    std::vector<Field> fields_;
};

GameParametersDialog::GameParametersDialog(CGame& game, QWidget* parent) : QDialog(parent), game_(game) {
    setWindowTitle(QStringLiteral("Game Parameters"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &GameParametersDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &GameParametersDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(eventGroup());
    layout->addWidget(playerGroup());
    layout->addWidget(gameGroup());
    layout->addWidget(buttons);

    const GameParameters parameters = gameParameters(game);
    for (const Field& field : fields_) field.edit->setText(QString::fromLatin1(parameters.*field.value));
}

QLineEdit* GameParametersDialog::addEdit(Text value, const QString& name, bool digitsOnly) {
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    if (digitsOnly) acceptDigitsOnly(*edit);
    fields_.push_back({edit, value});
    return edit;
}

QLineEdit& GameParametersDialog::edit(Text value) const {
    // Every field of GameParameters has its edit.
    return *std::find_if(fields_.begin(), fields_.end(), [value](const Field& field) { return field.value == value; })
                ->edit;
}

QGroupBox* GameParametersDialog::eventGroup() {
    auto* group = new QGroupBox(QStringLiteral("Event description:"));
    auto* layout = new QVBoxLayout(group);
    auto* eventLabel = new QLabel(QString::fromLatin1(kEventLabel));
    QLineEdit* event = addEdit(&GameParameters::event, QStringLiteral("event"), false);
    eventLabel->setBuddy(event);
    layout->addWidget(eventLabel);
    layout->addWidget(event);
    auto* form = new QFormLayout;
    for (const LineField& field : kEventFields)
        form->addRow(QString::fromLatin1(field.label),
                     addEdit(field.value, QString::fromLatin1(field.name), field.digitsOnly));
    layout->addLayout(form);
    return group;
}

QGroupBox* GameParametersDialog::playerGroup() {
    auto* group = new QGroupBox(QStringLiteral("Player names and ratings (0 if unrated):"));
    auto* layout = new QGridLayout(group);
    layout->setColumnStretch(1, 1);
    int row = 0;
    for (const PlayerField& player : kPlayerFields) {
        const QString name = QString::fromLatin1(player.name);
        auto* label = new QLabel(QString::fromLatin1(player.label));
        QLineEdit* nameEdit = addEdit(player.value, name, false);
        QLineEdit* ratingEdit = addEdit(player.rating, name + QStringLiteral("Elo"), true);
        ratingEdit->setMaximumWidth(60);
        label->setBuddy(nameEdit);
        // A crazyhouse game has no second board.
        if (player.boardB && !game_.isBughouse()) {
            nameEdit->setEnabled(false);
            ratingEdit->setEnabled(false);
        }
        layout->addWidget(label, row, 0);
        layout->addWidget(nameEdit, row, 1);
        layout->addWidget(ratingEdit, row, 2);
        ++row;
    }
    return group;
}

QGroupBox* GameParametersDialog::gameGroup() {
    auto* group = new QGroupBox(QStringLiteral("Game parameters:"));
    auto* form = new QFormLayout(group);
    for (const LineField& field : kGameFields)
        form->addRow(QString::fromLatin1(field.label),
                     addEdit(field.value, QString::fromLatin1(field.name), field.digitsOnly));
    return group;
}

GameParameters GameParametersDialog::typed() const {
    GameParameters parameters;
    for (const Field& field : fields_) parameters.*field.value = field.edit->text().toLatin1().toStdString();
    return parameters;
}

QLineEdit& GameParametersDialog::fieldToCorrect(const GameParameters& parameters) const {
    // The check refuses a time that is not a number first, then the event name.
    for (Text time : {&GameParameters::baseSeconds, &GameParameters::incrementSeconds})
        if (!isDigits(QString::fromLatin1(parameters.*time))) return edit(time);
    return edit(&GameParameters::event);
}

void GameParametersDialog::accept() {
    const GameParameters parameters = typed();
    const std::string message = checkGameParameters(game_, parameters);
    if (!message.empty()) return refuseField(fieldToCorrect(parameters), message);
    applyGameParameters(game_, parameters);
    QDialog::accept();
}

void editGameParameters(CGame& game, QWidget* parent) {
    GameParametersDialog dialog(game, parent);
    dialog.exec();
}

}  // namespace tandemora

#include "game_parameters_dialog.moc"
