#include "app/diagram/diagram_export.h"

#include <QFileDialog>

#include "app/diagram/diagram.h"
#include "app/dialogs/message_box.h"
#include "app/dialogs/numeric_value_dialog.h"
#include "app/file_names.h"

namespace tandemora {

namespace {

const QString kPngFilter = QStringLiteral("PNG Image (*.png)");
const QString kSvgFilter = QStringLiteral("SVG Image (*.svg)");

// Twice the size on screen prints sharply; beyond eight times the picture grows too large to
// be of use.
constexpr int kDefaultPercent = 200;
constexpr int kSmallestPercent = 25;
constexpr int kLargestPercent = 800;

}  // namespace

void exportDiagram(QWidget* parent, const CGame& game) {
    QFileDialog dialog(parent);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters({kPngFilter, kSvgFilter});
    dialog.setDefaultSuffix(QStringLiteral("png"));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
        dialog.setDefaultSuffix(filter == kSvgFilter ? QStringLiteral("svg") : QStringLiteral("png"));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const std::string path = fileNameBytes(dialog.selectedFiles().front());
    const DiagramFormat format = diagramFormatOf(
        path, dialog.selectedNameFilter() == kSvgFilter ? DiagramFormat::kSvg : DiagramFormat::kPng);

    const QSize shown = diagramImage(game, 1).size();
    const std::optional<int> percent = enterNumericValue(
        parent,
        QStringLiteral("Size of the diagram in percent of the boards as shown (%1 x %2 pixels at 100):")
            .arg(shown.width())
            .arg(shown.height()),
        kDefaultPercent, kSmallestPercent, kLargestPercent);
    if (!percent) return;

    std::string problem;
    if (!writeDiagram(diagramImage(game, *percent / 100.0), path, format, problem))
        showMessageBox(parent, "Could not write the diagram to " + fileNameText(path) + ":\n" + fileNameText(problem));
}

}  // namespace tandemora
