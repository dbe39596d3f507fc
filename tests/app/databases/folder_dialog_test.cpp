// "Select Folder": what Open makes of the folder field, and the completion of a typed name.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <QLineEdit>
#include <QTest>

#include "app/databases/folder_dialog.h"
#include "tests/modal_driver.h"

namespace {

using namespace tandemora;
using namespace dialog_test;
namespace fs = std::filesystem;

class FolderDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("tandemora-folders-" + std::to_string(::getpid()));
        fs::create_directories(root / "sub" / "inner");
        fs::create_directories(root / "other");
        std::ofstream(root / "file.txt") << "text\n";
    }
    void TearDown() override { fs::remove_all(root); }

    // Runs the dialog from `root`, lets `act` work in it, cancels it if it is still open after.
    std::optional<std::string> run(const std::function<void(QDialog&)>& act) {
        whenModal(QStringLiteral("Select Folder"), [act](QDialog& dialog) {
            act(dialog);
            if (dialog.isVisible()) click(dialog, "Cancel");
        });
        return selectFolder(nullptr, root.string());
    }

    fs::path root;
};

// Keeps the text of the next message box in `message` and answers OK.
void keepMessage(std::string& message) {
    whenModal(QStringLiteral("Tandemora"), [&message](QDialog& box) {
        message = static_cast<QMessageBox&>(box).text().toStdString();
        box.accept();
    });
}

TEST_F(FolderDialogTest, OpenChecksTheFolderTyped) {
    const std::string shown = root.string() + "/";
    const struct {
        std::string typed;
        const char* answer;  // to the question whether to create the folder
        std::optional<std::string> result;
        std::string message;  // of a refusal
    } cases[] = {
        {"", nullptr, shown, ""},
        {"sub", nullptr, shown + "sub/", ""},
        {shown + "sub/inner/", nullptr, shown + "sub/inner/", ""},
        {"sub/../other", nullptr, shown + "other/", ""},
        {"new/deeper", "Yes", shown + "new/deeper/", ""},
        {"not/made", "No", std::nullopt, ""},
        {"file.txt", nullptr, std::nullopt, "file.txt\nThis is a file not a directory."},
        {"file.txt/below", "Yes", std::nullopt, "You do not have permission\nto create this folder."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        std::string message;
        const auto result = run([&](QDialog& dialog) {
            control<QLineEdit>(dialog, "folder").setText(QString::fromStdString(c.typed));
            if (c.answer) {
                whenModal(QStringLiteral("Tandemora"), [&](QDialog& question) {
                    if (!c.message.empty()) keepMessage(message);
                    click(question, c.answer);
                });
            } else if (!c.message.empty()) {
                keepMessage(message);
            }
            click(dialog, "Open");
        });
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(message, c.message);
        if (c.result) {
            EXPECT_TRUE(fs::is_directory(*c.result));
        }
    }
    EXPECT_FALSE(fs::exists(root / "not"));
}

TEST_F(FolderDialogTest, ATypedNameIsCompletedAndASlashGoesIntoIt) {
    const auto result = run([](QDialog& dialog) {
        auto& field = control<QLineEdit>(dialog, "folder");
        field.clear();
        QTest::keyClicks(&field, "s");
        EXPECT_EQ(field.text(), "sub");
        EXPECT_EQ(field.selectedText(), "ub");
        QTest::keyClicks(&field, "/");
        EXPECT_TRUE(field.text().endsWith("/sub/"));
        QTest::keyClicks(&field, "i");
        EXPECT_TRUE(field.text().endsWith("/sub/inner"));
        click(dialog, "Open");
    });
    EXPECT_EQ(result, root.string() + "/sub/inner/");
}

}  // namespace
