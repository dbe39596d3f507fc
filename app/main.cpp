// Tandemora: study bughouse and crazyhouse games.
#include <QApplication>

#include "app/program_icon.h"
#include "app/tandemora_app.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
    QApplication::setApplicationName(QStringLiteral("Tandemora"));
    QApplication::setWindowIcon(tandemora::programIcon());

    // The settings file and the layout file lie beside the program.
    const std::filesystem::path folder = QCoreApplication::applicationDirPath().toLocal8Bit().toStdString();
    tandemora::CTandemoraApp app({folder / "Tandemora.INI", folder / "Tandemora.WL"});
    app.start();
    const int status = QApplication::exec();
    if (app.settings().saveSettingsOnExit) app.saveSettings();
    return status;
}
