#include "app/databases/folder_dialog.h"

#include <cerrno>
#include <functional>
#include <system_error>
#include <utility>

#include <QFileSystemModel>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>

#include "app/dialogs/message_box.h"
#include "app/file_names.h"

namespace tandemora {

namespace fs = std::filesystem;

// The folder field: besides editing, it tells of each character typed, of Delete and of Enter,
// which navigates instead of pressing the dialog's default button. It takes the focus with the
// caret at the end.
class FolderField : public QLineEdit {
public:
    std::function<void()> typed, deleted, entered;
    // Set when the selected end of the text is a completed name: a "/" typed then keeps it.
    bool completed = false;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) return entered();
        const bool character = !event->text().isEmpty() && event->text().front().isPrint();
        if (std::exchange(completed, false) && event->text() == u"/" && hasSelectedText()) end(false);
        QLineEdit::keyPressEvent(event);
        if (event->key() == Qt::Key_Delete) deleted();
        else if (character) typed();
    }
    void focusInEvent(QFocusEvent* event) override {
        QLineEdit::focusInEvent(event);
        end(false);
    }
};

namespace {

fs::path withoutTrailingSlash(const fs::path& path) {
    std::string text = path.lexically_normal().string();
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}

// The name of the one subfolder of `folder` that begins with `begun` (in the same case), if
// exactly one does.
std::optional<std::string> onlySubfolderBeginningWith(const fs::path& folder, const std::string& begun) {
    std::optional<std::string> found;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        std::error_code typeError;
        if (name.compare(0, begun.size(), begun) != 0 || !it->is_directory(typeError)) continue;
        if (found) return std::nullopt;
        found = name;
    }
    return found;
}

}  // namespace

FolderDialog::FolderDialog(QWidget* parent, const std::string& initialFolder)
    : QDialog(parent),
      model_(new QFileSystemModel(this)),
      list_(new QListView),
      lookIn_(new QLabel),
      field_(new FolderField) {
    setWindowTitle(QStringLiteral("Select Folder"));
    // Folders only, with ".." to go up.
    model_->setFilter(QDir::AllDirs | QDir::NoDot);
    list_->setModel(model_);
    list_->setMinimumSize(420, 240);
    list_->installEventFilter(this);
    field_->setObjectName(QStringLiteral("folder"));
    auto* caption = new QLabel(QStringLiteral("Folder:"));
    caption->setBuddy(field_);
    auto* open = new QPushButton(QStringLiteral("Open"));
    open->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"));
    cancel->setAutoDefault(false);

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Look in:")), 0, 0);
    layout->addWidget(lookIn_, 0, 1, 1, 2);
    layout->addWidget(list_, 1, 0, 1, 3);
    layout->addWidget(caption, 2, 0);
    layout->addWidget(field_, 2, 1);
    layout->addWidget(open, 2, 2);
    layout->addWidget(cancel, 3, 2);
    setTabOrder(field_, open);

    field_->typed = [this] { characterTyped(); };
    field_->deleted = [this] { deletePressed(); };
    field_->entered = [this] { enterPressed(); };
    connect(list_, &QListView::activated, this, &FolderDialog::enterItem);
    connect(open, &QPushButton::clicked, this, &FolderDialog::open);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    std::error_code error;
    const fs::path initial(initialFolder);
    navigate(withoutTrailingSlash(!initialFolder.empty() && fs::is_directory(initial, error)
                                      ? fs::absolute(initial, error)
                                      : fs::current_path(error)));
}

std::string FolderDialog::folder() const {
    std::string text = current_.string();
    if (text.empty() || text.back() != '/') text += '/';
    return text;
}

bool FolderDialog::eventFilter(QObject* watched, QEvent* event) {
    // Enter in the list goes into the folder instead of pressing "Open".
    if (watched == list_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            enterItem(list_->currentIndex());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void FolderDialog::navigate(const fs::path& folder) {
    current_ = folder;
    const QString path = fileNameText(current_.string());
    list_->setRootIndex(model_->setRootPath(path));
    lookIn_->setText(path);
    field_->setText(fileNameText(this->folder()));
    field_->end(false);
    field_->setFocus();
}

void FolderDialog::enterItem(const QModelIndex& index) {
    if (index.isValid()) navigate(withoutTrailingSlash(fileNameBytes(model_->filePath(index))));
}

fs::path FolderDialog::typedPath(const std::string& text) const {
    const fs::path typed(text);
    return withoutTrailingSlash(typed.is_absolute() ? typed : current_ / typed);
}

void FolderDialog::characterTyped() {
    if (field_->text().isEmpty() || field_->cursorPosition() != field_->text().size()) return;
    const std::string text = fileNameBytes(field_->text());
    std::error_code error;
    if (text.back() == '/') {
        if (fs::is_directory(typedPath(text), error)) navigate(typedPath(text));
        return;
    }
    // The name begun after the last "/" is completed when one subfolder alone fits it; the part
    // added is selected, so typing on replaces it.
    const size_t nameStart = text.rfind('/') + 1;  // 0 without a "/"
    const std::string begun = text.substr(nameStart);
    const std::optional<std::string> name = onlySubfolderBeginningWith(typedPath(text.substr(0, nameStart)), begun);
    if (!name || name->size() == begun.size()) return;
    const QString added = fileNameText(name->substr(begun.size()));
    const int at = static_cast<int>(field_->text().size());
    field_->setText(field_->text() + added);
    field_->setSelection(at, static_cast<int>(added.size()));
    field_->completed = true;
}

void FolderDialog::deletePressed() {
    const std::string text = fileNameBytes(field_->text());
    std::error_code error;
    if (!text.empty() && text.back() == '/' && fs::is_directory(typedPath(text), error)) navigate(typedPath(text));
}

void FolderDialog::enterPressed() {
    if (const std::optional<fs::path> folder = checkedFolder(true)) navigate(*folder);
    field_->setFocus();
}

void FolderDialog::open() {
    const std::optional<fs::path> folder = checkedFolder(false);
    field_->setFocus();
    if (!folder) return;
    navigate(*folder);
    accept();
}

std::optional<fs::path> FolderDialog::checkedFolder(bool fromEnter) {
    QString shown = field_->text();
    while (shown.size() > 1 && shown.endsWith(u'/')) shown.chop(1);
    if (shown.isEmpty()) return current_;
    const fs::path path = typedPath(fileNameBytes(shown));
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (fs::is_directory(status)) return path;
    if (status.type() == fs::file_type::not_found) return createdFolder(path, shown, fromEnter);
    showMessageBox(this, shown + (fs::exists(status) ? QStringLiteral("\nThis is a file not a directory.")
                                                     : QStringLiteral("\nThis is not a valid folder.")));
    return std::nullopt;
}

std::optional<fs::path> FolderDialog::createdFolder(const fs::path& path, const QString& shown, bool fromEnter) {
    if (!askYesNo(this, shown + QStringLiteral("\nThis folder does not exist.\n\nDo you want to create it?")))
        return std::nullopt;
    std::error_code error;
    fs::create_directories(path, error);
    if (!error) return path;
    if (error.value() == EROFS) showMessageBox(this, "You cannot create this folder.\nThe medium may be write-protected.");
    else if (fromEnter) showMessageBox(this, "You do not have permission or\notherwise cannot create this folder.");
    else showMessageBox(this, "You do not have permission\nto create this folder.");
    return std::nullopt;
}

std::optional<std::string> selectFolder(QWidget* parent, const std::string& initialFolder) {
    FolderDialog dialog(parent, initialFolder);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.folder();
}

}  // namespace tandemora
