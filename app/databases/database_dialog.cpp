#include "app/databases/database_dialog.h"

#include <string>

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/databases/folder_dialog.h"
#include "app/file_names.h"
#include "database/database_file.h"

namespace tandemora {

namespace {

QLineEdit* nameEdit(const char* name) {
    auto* edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMinimumWidth(360);
    return edit;
}

QPushButton* browseButton(const char* text) {
    auto* button = new QPushButton(QString::fromLatin1(text));
    button->setAutoDefault(false);
    return button;
}

}  // namespace

CDatabaseDialog::CDatabaseDialog(QWidget* parent)
    : BuildDialog(parent, QStringLiteral("Create New BPGN Database"), "Stop building the database?"),
      databaseName_(nameEdit("databaseName")),
      bpgnFolder_(nameEdit("bpgnFolder")),
      status_(new QLabel) {
    auto* explanation = new QLabel(QStringLiteral("All BPGN files from the specified directory, also compressed ones "
                                                  "(.bpgn.bz2, .bpgn.gz), will be merged into a single database file "
                                                  "(original BPGN files are preserved)."));
    explanation->setWordWrap(true);
    QPushButton* databaseButton = browseButton("Database file name:");
    QPushButton* folderButton = browseButton("BPGN file directory:");
    status_->setObjectName(QStringLiteral("status"));

    auto* fields = new QGridLayout;
    fields->addWidget(databaseButton, 0, 0);
    fields->addWidget(databaseName_, 0, 1);
    fields->addWidget(folderButton, 1, 0);
    fields->addWidget(bpgnFolder_, 1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(explanation);
    layout->addLayout(fields);
    layout->addWidget(&progressBar());
    layout->addWidget(status_);
    layout->addLayout(commandButtons([this] { create(); }));

    connect(databaseButton, &QPushButton::clicked, this, &CDatabaseDialog::chooseDatabase);
    connect(folderButton, &QPushButton::clicked, this, &CDatabaseDialog::chooseFolder);
    connect(&runner(), &BuildRunner::statusChanged, status_, &QLabel::setText);
}

void CDatabaseDialog::chooseDatabase() {
    // An existing database is added to, not replaced: no question before choosing one.
    if (const auto name = chooseFile(this, FileChoice::kSave, QStringLiteral("Database Files (*.db)"), QStringLiteral("db")))
        databaseName_->setText(*name);
}

void CDatabaseDialog::chooseFolder() {
    if (const auto folder = selectFolder(this, fileNameBytes(bpgnFolder_->text())))
        bpgnFolder_->setText(fileNameText(*folder));
}

void CDatabaseDialog::create() {
    const std::string folder = fileNameBytes(bpgnFolder_->text());
    const std::string database = fileNameBytes(databaseName_->text());
    build([folder, database](ProgressReporter& progress) { buildDatabase(folder, database, progress); });
}

}  // namespace tandemora
