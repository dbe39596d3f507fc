#include "app/index/index_file_dialog.h"

#include <QFileDialog>

#include "app/file_names.h"

namespace tandemora {

std::optional<std::string> askIndexFile(QWidget* parent, const std::string& folder) {
    QFileDialog dialog(parent);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(QStringLiteral("Index Files (*.ind)"));
    dialog.setDefaultSuffix(QStringLiteral("ind"));
    if (!folder.empty()) dialog.setDirectory(fileNameText(folder));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return fileNameBytes(dialog.selectedFiles().front());
}

}  // namespace tandemora
