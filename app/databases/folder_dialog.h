// "Select Folder": the user picks a folder from a list of folders, or types one, has its name
// completed, and has it created when it does not exist.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include <QDialog>

class QFileSystemModel;
class QLabel;
class QListView;
class QModelIndex;

namespace tandemora {

class FolderField;

class FolderDialog : public QDialog {
    Q_OBJECT
public:
    // Starts in `initialFolder`, or in the current folder when that names no folder.
    FolderDialog(QWidget* parent, const std::string& initialFolder);
    // The folder shown, ending with "/": the result once the dialog was accepted.
    std::string folder() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void navigate(const std::filesystem::path& folder);
    void enterItem(const QModelIndex& index);
    void characterTyped();
    void deletePressed();
    void enterPressed();
    void open();
    // The folder the field names, created first when the user wants it; none when the text was
    // refused (the user was told why) or the user would not have it created.
    std::optional<std::filesystem::path> checkedFolder(bool fromEnter);
    std::optional<std::filesystem::path> createdFolder(const std::filesystem::path& path, const QString& shown,
                                                       bool fromEnter);
    // A typed path: an absolute one as it stands, a relative one within the folder shown.
    std::filesystem::path typedPath(const std::string& text) const;

    std::filesystem::path current_;  // absolute, without a trailing "/" but for the root
    QFileSystemModel* model_;
    QListView* list_;
    QLabel* lookIn_;
    FolderField* field_;
};

// Runs the dialog: the chosen folder, ending with "/", or none when cancelled.
std::optional<std::string> selectFolder(QWidget* parent, const std::string& initialFolder = {});

}  // namespace tandemora
