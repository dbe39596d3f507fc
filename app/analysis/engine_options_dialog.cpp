#include "app/analysis/engine_options_dialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "app/file_names.h"
#include "engine/engine_path.h"
#include "settings/settings.h"

namespace tandemora {

namespace {

QSpinBox* numberField(const char* name, int value, int maximum) {
    auto* field = new QSpinBox;
    field->setObjectName(QString::fromLatin1(name));
    field->setRange(1, maximum);
    field->setValue(value);
    return field;
}

}  // namespace

bool editEngineOptions(QWidget* parent, Settings& settings) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Engine Options"));
    auto* program = new QLineEdit(fileNameText(settings.engineProgram));
    program->setObjectName(QStringLiteral("program"));
    // Left empty, the program is looked for where it is usually installed.
    const std::string found = resolveEnginePath();
    program->setPlaceholderText(found.empty() ? QStringLiteral("fairy-stockfish (not found)") : fileNameText(found));
    program->setMinimumWidth(320);
    auto* browse = new QPushButton(QStringLiteral("Browse..."));
    QObject::connect(browse, &QPushButton::clicked, &dialog, [&dialog, program] {
        QFileDialog chooser(&dialog, QStringLiteral("Engine Program"));
        chooser.setOption(QFileDialog::DontUseNativeDialog);
        chooser.setFileMode(QFileDialog::ExistingFile);
        if (chooser.exec() == QDialog::Accepted && !chooser.selectedFiles().isEmpty())
            program->setText(chooser.selectedFiles().front());
    });
    auto* programRow = new QHBoxLayout;
    programRow->addWidget(program, 1);
    programRow->addWidget(browse);
    QSpinBox* threads = numberField("threads", settings.engineThreads, kMaxEngineThreads);
    QSpinBox* hash = numberField("hash", settings.engineHashMb, kMaxEngineHashMb);
    hash->setSuffix(QStringLiteral(" MB"));
    QSpinBox* lines = numberField("lines", settings.engineLines, kMaxEngineLines);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

    auto* layout = new QFormLayout(&dialog);
    layout->addRow(QStringLiteral("&Program:"), programRow);
    layout->addRow(QStringLiteral("&Threads:"), threads);
    layout->addRow(QStringLiteral("&Hash:"), hash);
    layout->addRow(QStringLiteral("&Lines shown:"), lines);
    layout->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted) return false;
    settings.engineProgram = fileNameBytes(program->text().trimmed());
    settings.engineThreads = threads->value();
    settings.engineHashMb = hash->value();
    settings.engineLines = lines->value();
    return true;
}

}  // namespace tandemora
