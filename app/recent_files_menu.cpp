#include "app/recent_files_menu.h"

#include <filesystem>

#include <QAction>
#include <QMenu>

#include "app/file_names.h"
#include "app/window_list.h"

namespace tandemora {

void attachRecentFiles(QMenu& menu, QAction& exit, std::function<const std::vector<std::string>&()> files,
                       std::function<void(std::size_t index)> open) {
    // Owns the entries of the last opening; deleting an action takes it out of the menu.
    auto* entries = new QObject(&menu);
    QObject::connect(&menu, &QMenu::aboutToShow, entries, [&menu, &exit, files, open, entries] {
        qDeleteAll(entries->children());
        const std::vector<std::string>& names = files();
        for (std::size_t i = 0; i < names.size(); ++i) {
            const QString name = fileNameText(std::filesystem::path(names[i]).filename().string());
            auto* entry = new QAction(numberedEntryText(static_cast<int>(i) + 1, name), entries);
            entry->setStatusTip(fileNameText(names[i]));
            QObject::connect(entry, &QAction::triggered, &menu, [open, i] { open(i); });
            menu.insertAction(&exit, entry);
        }
        if (!names.empty()) menu.insertSeparator(&exit)->setParent(entries);
    });
}

}  // namespace tandemora
