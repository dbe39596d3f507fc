// The application with its main window in a folder of its own, for tests that drive it headless.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "app/game_list/bpgn_manager.h"
#include "app/main_frame.h"
#include "app/tandemora_app.h"
#include "board/board_frame.h"
#include "resources/command_texts.h"
#include "tests/modal_driver.h"

namespace app_test {

using namespace tandemora;
namespace fs = std::filesystem;

// Answers the next file dialog with `path`, in the type of file `filter` names if given, or
// cancels it when the path is empty.
inline void chooseFile(const std::string& path, const QString& filter = {}, int triesLeft = 300) {
    QTimer::singleShot(10, [path, filter, triesLeft] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) {
            if (triesLeft > 0) chooseFile(path, filter, triesLeft - 1);
            else ADD_FAILURE() << "no file dialog";
            return;
        }
        if (path.empty()) return dialog->reject();
        const fs::path file(path);
        dialog->setDirectory(QString::fromStdString(file.parent_path().string()));
        if (!filter.isEmpty()) dialog->selectNameFilter(filter);
        // Typed, as a user would: a selection can be lost while the folder is still being read.
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QString::fromStdString(file.filename().string()));
        static_cast<QDialog*>(dialog)->accept();
    });
}

// Answers Yes when the save dialog asks before replacing an existing file.
inline void confirmReplacing(int triesLeft = 300) {
    QTimer::singleShot(10, [triesLeft] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) return dialog_test::click(*box, "Yes");
        if (triesLeft > 0) confirmReplacing(triesLeft - 1);
        else ADD_FAILURE() << "no question before replacing";
    });
}

inline std::string fileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class AppTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("tandemora-app-" + std::to_string(::getpid()));
        fs::create_directories(folder);
        std::ofstream(folder / "Tandemora.INI") << "[Window]\nAuto-apply default layout=0\n";
        std::ofstream(folder / "Tandemora.WL", std::ios::binary) << std::string(1632, '\0');
        app = std::make_unique<CTandemoraApp>(SettingsFiles{folder / "Tandemora.INI", folder / "Tandemora.WL"});
        app->start();
    }
    void TearDown() override {
        // Whatever a test left open goes without questions.
        while (!app->newGameList().empty()) app->removePtrFromGameList(app->newGameList().front().get());
        while (!app->managerList().empty()) {
            CBPGNManager* list = app->managerList().front();
            app->removePtrFromManagerList(list);
            delete list->subWindow();
        }
        app.reset();
        fs::remove_all(folder);
    }
    // Runs a main-window command, answering the question it asks with `answer`.
    void answer(const char* button) {
        dialog_test::whenModal(QStringLiteral("Tandemora"), [button](QDialog& box) { dialog_test::click(box, button); });
    }
    // Keeps the text of the next message box in `message` and answers OK.
    void keepMessage(std::string& message) {
        dialog_test::whenModal(QStringLiteral("Tandemora"), [&message](QDialog& box) {
            message = static_cast<QMessageBox&>(box).text().toStdString();
            box.accept();
        });
    }
    CBoardFrame& board(size_t game, bool b = false) {
        const auto& g = app->newGameList().at(game);
        return static_cast<CBoardFrame&>(b ? *g->boardB : *g->boardA);
    }

    fs::path folder;
    std::unique_ptr<CTandemoraApp> app;
};

}  // namespace app_test
