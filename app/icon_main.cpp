// tandemora-icon FOLDER: writes the program's icon for the desktop into FOLDER, as
// tandemora.svg and as tandemora-SIZE.png for the sizes the installation ships. Run by the build.
#include <cstdio>
#include <fstream>
#include <string>

#include <QGuiApplication>

#include "app/program_icon.h"

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tandemora-icon FOLDER\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");  // the build has no screen
    QGuiApplication application(argc, argv);
    const std::string folder = argv[1];
    for (int side : {48, 128, 256}) {
        const std::string name = folder + "/tandemora-" + std::to_string(side) + ".png";
        if (!tandemora::programIconImage(side).save(QString::fromLocal8Bit(name.c_str()), "PNG")) {
            std::fprintf(stderr, "tandemora-icon: cannot write %s\n", name.c_str());
            return 1;
        }
    }
    std::ofstream svg(folder + "/tandemora.svg", std::ios::binary);
    if (!(svg << tandemora::programIconSvg()) || !svg.flush()) {
        std::fprintf(stderr, "tandemora-icon: cannot write %s/tandemora.svg\n", folder.c_str());
        return 1;
    }
    return 0;
}
