// Tandemora: study bughouse and crazyhouse games.
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include "app/dialogs/message_box.h"
#include "app/file_names.h"
#include "app/program_icon.h"
#include "app/tandemora_app.h"
#include "game/file_replacement.h"
#include "settings/settings_folder.h"

int main(int argc, char* argv[]) {
    tandemora::ignoreFileSizeLimitSignal();
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
    QApplication::setApplicationName(QStringLiteral("Tandemora"));
    QApplication::setWindowIcon(tandemora::programIcon());

    try {
        // The settings file and the layout file: beside a program that carries its own, otherwise
        // in the user's configuration folder.
        const auto variable = [](const char* name) { return std::string(std::getenv(name) ? std::getenv(name) : ""); };
        tandemora::CTandemoraApp app(tandemora::chooseSettingsFiles(
            {tandemora::fileNameBytes(QCoreApplication::applicationDirPath()), variable("XDG_CONFIG_HOME"), variable("HOME")}));
        app.start();
        // Files named on the command line (as a file manager passes them) open as if chosen in
        // File > Open, once the window is up. Their names are taken as the bytes given.
        std::vector<std::string> files;
        for (int i = 1; i < argc; ++i) files.push_back(std::filesystem::absolute(argv[i]).string());
        QTimer::singleShot(0, &app.mainFrameWidget(), [&app, files] {
            for (const std::string& file : files) app.openFile(file);
        });
        const int status = QApplication::exec();
        if (app.settings().saveSettingsOnExit) app.saveSettings();
        return status;
    } catch (const std::exception& error) {
        tandemora::showMessageBox(nullptr, std::string("Internal error: ") + error.what());
        return 1;
    }
}
