#include "app/sounds/event_sound_dialog.h"

#include <optional>
#include <string>

#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dialogs/message_box.h"
#include "app/file_names.h"
#include "settings/settings.h"
#include "app/sounds/event_sounds.h"

namespace tandemora {
namespace {

// The file the user picks in an open-file dialog, or nothing when he cancels.
std::optional<QString> chooseSoundFile(QWidget* parent) {
    QFileDialog dialog(parent);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(QStringLiteral("Wave Files (*.wav)"));
    dialog.setDefaultSuffix(QStringLiteral("wav"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front();
}

}  // namespace

void configureEventSounds(QWidget* parent, Settings& settings, EventSounds& sounds) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Configure event sound"));

    auto* events = new QListWidget;
    events->setObjectName(QStringLiteral("events"));
    events->setSelectionMode(QAbstractItemView::SingleSelection);
    for (size_t index = 0; index < eventSoundNames.size(); ++index)
        events->addItem(QStringLiteral("%1. %2").arg(index + 1).arg(QString::fromLatin1(eventSoundNames[index])));
    auto* eventsBox = new QGroupBox(QStringLiteral("Events:"));
    (new QVBoxLayout(eventsBox))->addWidget(events);

    auto* path = new QLineEdit;
    path->setObjectName(QStringLiteral("path"));
    auto* browse = new QPushButton(QStringLiteral("Browse"));
    auto* play = new QPushButton(QStringLiteral("Play"));
    auto* apply = new QPushButton(QStringLiteral("Apply"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);

    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(path, 1);
    pathRow->addWidget(browse);
    auto* tryRow = new QHBoxLayout;
    tryRow->addWidget(play);
    tryRow->addWidget(apply);
    tryRow->addStretch();
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(eventsBox);
    layout->addLayout(pathRow);
    layout->addLayout(tryRow);
    layout->addWidget(buttons);

    auto paths = settings.eventSoundPaths;  // the dialog's own copies until OK
    // The selected event; none at first, and Browse and Apply then do nothing.
    const auto selected = [events]() -> std::optional<size_t> {
        const QList<QListWidgetItem*> items = events->selectedItems();
        if (items.isEmpty()) return std::nullopt;
        return static_cast<size_t>(events->row(items.front()));
    };

    QObject::connect(events, &QListWidget::itemSelectionChanged, &dialog, [&] {
        if (const auto index = selected()) path->setText(fileNameText(paths[*index]));
    });
    QObject::connect(browse, &QPushButton::clicked, &dialog, [&] {
        const auto index = selected();
        if (!index) return;
        if (const auto chosen = chooseSoundFile(&dialog)) {
            path->setText(*chosen);
            paths[*index] = fileNameBytes(*chosen);
        }
    });
    QObject::connect(play, &QPushButton::clicked, &dialog, [&] {
        if (!sounds.playFile(fileNameBytes(path->text()))) showMessageBox(&dialog, "Could not play sound.");
    });
    QObject::connect(apply, &QPushButton::clicked, &dialog, [&] {
        if (const auto index = selected()) paths[*index] = fileNameBytes(path->text());
    });
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        for (size_t index = 0; index < paths.size(); ++index) {
            if (paths[index] == settings.eventSoundPaths[index]) continue;
            settings.eventSoundPaths[index] = paths[index];
            if (!sounds.reload(static_cast<int>(index), paths[index]))
                showMessageBox(&dialog, QStringLiteral("Could not read file: ") + fileNameText(paths[index]));
        }
        dialog.accept();
    });
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    dialog.exec();
}

}  // namespace tandemora
