// Where the settings file and the layout file lie: beside the program when it carries its own
// (a build or a portable copy), otherwise in the user's configuration folder, which the first
// start fills from the defaults the installation ships.
#pragma once

#include <filesystem>
#include <string>

#include "settings/settings.h"

namespace tandemora {

// What the choice depends on; the strings are empty for unset variables.
struct SettingsSurroundings {
    std::filesystem::path programFolder;
    std::string xdgConfigHome;  // $XDG_CONFIG_HOME
    std::string home;           // $HOME
};

// The two files beside the program when both are there and can be written. Otherwise those in
// $XDG_CONFIG_HOME/Tandemora (or ~/.config/Tandemora), made when missing and given the shipped
// defaults: the files beside the program, else those of the installation's data folder
// (../share/tandemora), else an empty settings file (the built-in defaults) and an empty
// layout file. Files already there are kept. Without a usable configuration folder, the files
// beside the program.
SettingsFiles chooseSettingsFiles(const SettingsSurroundings& surroundings);

}  // namespace tandemora
