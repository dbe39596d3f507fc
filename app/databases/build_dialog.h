// What the two database dialogs share: a build on a worker thread with its progress bar and a
// Stop button, and the file dialogs of their browse buttons. While a build runs, the dialog's
// other controls are disabled, so it cannot start twice, and closing the dialog (close box,
// Escape) asks whether to stop it; once the build has ended and its messages were shown, the
// dialog closes, whatever the outcome.
#pragma once

#include <functional>
#include <optional>

#include <QDialog>
#include <QString>

#include "app/databases/build_runner.h"

class QHBoxLayout;
class QProgressBar;
class QPushButton;

namespace tandemora {

class BuildDialog : public QDialog {
    Q_OBJECT
public:
    bool building() const { return runner_.running(); }
    // While a build runs: asks whether to stop it, and the dialog closes once it has ended.
    void reject() override;

protected:
    BuildDialog(QWidget* parent, const QString& title, const char* stopQuestion);

    // Starts `work` unless a build runs already.
    void build(BuildRunner::Work work);
    // The row of Create (the default button, running `create`), Stop and Cancel.
    QHBoxLayout* commandButtons(std::function<void()> create);
    QProgressBar& progressBar() const { return *bar_; }
    BuildRunner& runner() { return runner_; }

private:
    // All but Stop, for the rest of the dialog's life.
    void disableControls();

    QProgressBar* bar_;
    QPushButton* stop_;
    BuildRunner runner_;
};

enum class FileChoice { kOpen, kSave, kSaveAskingToReplace };

// A file name from a file dialog with one filter ("Database Files (*.db)") and a default suffix;
// none when cancelled.
std::optional<QString> chooseFile(QWidget* parent, FileChoice choice, const QString& filter, const QString& suffix);

}  // namespace tandemora
