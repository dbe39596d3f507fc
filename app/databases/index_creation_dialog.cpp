#include "app/databases/index_creation_dialog.h"

#include <filesystem>
#include <utility>

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dialogs/dialog_fields.h"
#include "app/dialogs/message_box.h"
#include "app/file_names.h"
#include "database/index_writer.h"

namespace tandemora {

namespace {

QLineEdit* edit(const char* name, const char* text = "") {
    auto* field = new QLineEdit(QString::fromLatin1(text));
    field->setObjectName(QString::fromLatin1(name));
    return field;
}

QLineEdit* ratingEdit(const char* name) {
    QLineEdit* field = edit(name, "0");
    acceptDigitsOnly(*field);
    return field;
}

QPushButton* button(const char* text) {
    auto* made = new QPushButton(QString::fromLatin1(text));
    made->setAutoDefault(false);
    return made;
}

std::string fileName(const std::string& path) { return std::filesystem::path(path).filename().string(); }

}  // namespace

CIndexCreationDialog::CIndexCreationDialog(QWidget* parent)
    : BuildDialog(parent, QStringLiteral("Index Creation Dialog"), "Stop creating the index?"),
      indexName_(edit("indexName")),
      databaseName_(edit("databaseName")),
      players_(edit("players")),
      indexType_(new QComboBox),
      playerRating_(ratingEdit("playerRating")),
      averageRating_(ratingEdit("averageRating")),
      minimumRating_(ratingEdit("minimumRating")) {
    indexName_->setMinimumWidth(360);
    indexType_->setObjectName(QStringLiteral("indexType"));
    indexType_->addItems({QStringLiteral("Bughouse"), QStringLiteral("Crazyhouse")});
    QPushButton* indexButton = button("Index file name:");
    QPushButton* databaseButton = button("Database file name:");

    auto* fields = new QGridLayout;
    fields->addWidget(indexButton, 0, 0);
    fields->addWidget(indexName_, 0, 1);
    fields->addWidget(databaseButton, 1, 0);
    fields->addWidget(databaseName_, 1, 1);
    const std::pair<const char*, QWidget*> labelled[] = {{"Player names (* for all):", players_},
                                                         {"Index type:", indexType_},
                                                         {"Player ratings (>=):", playerRating_},
                                                         {"Average rating (>=):", averageRating_},
                                                         {"Minimum rating (>=):", minimumRating_}};
    int row = 2;
    for (const auto& [text, control] : labelled) {
        auto* label = new QLabel(QString::fromLatin1(text));
        label->setBuddy(control);
        fields->addWidget(label, row, 0);
        fields->addWidget(control, row++, 1);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(&progressBar());
    layout->addLayout(commandButtons([this] { create(); }));

    connect(indexButton, &QPushButton::clicked, this, &CIndexCreationDialog::chooseIndex);
    connect(databaseButton, &QPushButton::clicked, this, &CIndexCreationDialog::chooseDatabase);
    // The stages of the work show in the title.
    connect(&runner(), &BuildRunner::statusChanged, this, &QWidget::setWindowTitle);
}

void CIndexCreationDialog::chooseIndex() {
    if (const auto name = chooseFile(this, FileChoice::kSaveAskingToReplace, QStringLiteral("Index Files (*.ind)"),
                                     QStringLiteral("ind")))
        indexName_->setText(*name);
}

void CIndexCreationDialog::chooseDatabase() {
    const auto name = chooseFile(this, FileChoice::kOpen, QStringLiteral("Database Files (*.db)"), QStringLiteral("db"));
    if (!name) return;
    chosenDatabase_ = fileNameBytes(*name);
    databaseName_->setText(fileNameText(fileName(chosenDatabase_)));
}

void CIndexCreationDialog::create() {
    std::optional<IndexSettings> settings = settingsFromFields();
    if (!settings || !targetsAccepted(*settings)) return;
    build([chosen = std::move(*settings)](ProgressReporter& progress) { createIndexFiles(chosen, progress); });
}

std::optional<IndexSettings> CIndexCreationDialog::settingsFromFields() {
    IndexSettings settings;
    for (auto [field, value] : {std::pair{playerRating_, &settings.playerRatingMin},
                                {averageRating_, &settings.averageMin},
                                {minimumRating_, &settings.minimumMin}}) {
        const std::optional<int> number = integerValue(field->text(), false);
        if (!number) {
            refuseField(*field, "Please enter an integer.");
            return std::nullopt;
        }
        *value = *number;
    }
    // Player names are compared with the names in games, which are single-byte texts.
    std::string message;
    settings.players = splitPlayerList(players_->text().toLatin1().toStdString(), message);
    if (settings.players.empty()) {
        refuseField(*players_, message);
        return std::nullopt;
    }
    settings.indexPath = fileNameBytes(indexName_->text());
    // The field shows the chosen database by its name alone; what is read is the file chosen.
    const std::string typed = fileNameBytes(databaseName_->text());
    settings.databasePath = !chosenDatabase_.empty() && typed == fileName(chosenDatabase_) ? chosenDatabase_ : typed;
    settings.databaseName = fileName(settings.databasePath);
    settings.type = indexType_->currentIndex();
    return settings;
}

bool CIndexCreationDialog::targetsAccepted(IndexSettings& settings) {
    const IndexTargets targets = checkIndexTargets(settings);
    const std::string& refused = !targets.database.empty() ? targets.database : targets.notRegular;
    if (!refused.empty()) {
        showMessageBox(this, fileNameText(refused) + (refused == targets.database
                                                          ? QStringLiteral(" is the database itself")
                                                          : QStringLiteral(" is not a regular file")) +
                                 QStringLiteral("; choose another index file name."));
        indexName_->setFocus();
        return false;
    }
    if (targets.otherFiles.empty()) return true;
    QString names;
    for (const std::string& path : targets.otherFiles) names += fileNameText(path) + u'\n';
    settings.overwriteOtherFiles =
        askYesNo(this, names + (targets.otherFiles.size() == 1 ? QStringLiteral("is not an index file. Write the index over it?")
                                                               : QStringLiteral("are not index files. Write the index over them?")));
    return settings.overwriteOtherFiles;
}

}  // namespace tandemora
