#include "app/databases/build_dialog.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

namespace tandemora {

BuildDialog::BuildDialog(QWidget* parent, const QString& title, const char* stopQuestion)
    : QDialog(parent),
      bar_(new QProgressBar(this)),
      stop_(new QPushButton(QStringLiteral("Stop"), this)),
      runner_(*this, *bar_, stopQuestion) {
    setWindowTitle(title);
    bar_->setObjectName(QStringLiteral("progress"));
    bar_->setRange(0, 1);
    bar_->setValue(0);
    stop_->setAutoDefault(false);
    stop_->setEnabled(false);
    connect(stop_, &QPushButton::clicked, this, [this] {
        if (runner_.askToStop()) stop_->setEnabled(false);
    });
    // Nothing is left to stop while the last messages show.
    connect(&runner_, &BuildRunner::workEnded, stop_, [this] { stop_->setEnabled(false); });
    connect(&runner_, &BuildRunner::finished, this, &QDialog::accept);
}

void BuildDialog::build(BuildRunner::Work work) {
    if (runner_.start(std::move(work))) disableControls();
}

QHBoxLayout* BuildDialog::commandButtons(std::function<void()> create) {
    auto* createButton = new QPushButton(QStringLiteral("Create"));
    createButton->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"));
    cancel->setAutoDefault(false);
    connect(createButton, &QPushButton::clicked, this, std::move(create));
    connect(cancel, &QPushButton::clicked, this, &BuildDialog::reject);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(createButton);
    row->addWidget(stop_);
    row->addWidget(cancel);
    return row;
}

void BuildDialog::reject() {
    if (!building()) return QDialog::reject();
    if (runner_.askToStop()) stop_->setEnabled(false);
}

void BuildDialog::disableControls() {
    for (QWidget* control : findChildren<QWidget*>()) {
        if (qobject_cast<QAbstractButton*>(control) || qobject_cast<QLineEdit*>(control) ||
            qobject_cast<QComboBox*>(control))
            control->setEnabled(false);
    }
    stop_->setEnabled(true);
}

std::optional<QString> chooseFile(QWidget* parent, FileChoice choice, const QString& filter, const QString& suffix) {
    QFileDialog dialog(parent);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(choice == FileChoice::kOpen ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(choice == FileChoice::kOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, choice != FileChoice::kSaveAskingToReplace);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front();
}

}  // namespace tandemora
