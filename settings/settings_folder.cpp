#include "settings/settings_folder.h"

#include <fstream>
#include <optional>
#include <system_error>

namespace tandemora {

namespace {

namespace fs = std::filesystem;

constexpr const char* kSettingsName = "Tandemora.INI";
constexpr const char* kLayoutName = "Tandemora.WL";

SettingsFiles filesIn(const fs::path& folder) { return {folder / kSettingsName, folder / kLayoutName}; }

// A file marked read-only does not count even for a user the system lets write anyway.
bool isWritableFile(const fs::path& path) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (error || !fs::is_regular_file(status)) return false;
    constexpr fs::perms anyWrite = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    if ((status.permissions() & anyWrite) == fs::perms::none) return false;
    return std::ofstream(path, std::ios::binary | std::ios::app).is_open();
}

std::optional<fs::path> configurationFolder(const SettingsSurroundings& surroundings) {
    // A relative XDG_CONFIG_HOME is invalid and ignored.
    if (!surroundings.xdgConfigHome.empty() && fs::path(surroundings.xdgConfigHome).is_absolute())
        return fs::path(surroundings.xdgConfigHome) / "Tandemora";
    if (!surroundings.home.empty()) return fs::path(surroundings.home) / ".config" / "Tandemora";
    return std::nullopt;
}

// The first of the defaults that exists is copied, writable whatever it was; without one,
// `empty` is written.
bool seed(const fs::path& target, std::initializer_list<fs::path> defaults, const std::string& empty) {
    std::error_code error;
    if (fs::exists(target, error)) return true;
    for (const fs::path& source : defaults) {
        if (!fs::is_regular_file(source, error)) continue;
        if (!fs::copy_file(source, target, error)) return false;
        fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, error);
        return !error;
    }
    std::ofstream out(target, std::ios::binary);
    return static_cast<bool>(out << empty);
}

}  // namespace

SettingsFiles chooseSettingsFiles(const SettingsSurroundings& surroundings) {
    const SettingsFiles beside = filesIn(surroundings.programFolder);
    if (isWritableFile(beside.settingsFile) && isWritableFile(beside.layoutFile)) return beside;

    const std::optional<fs::path> folder = configurationFolder(surroundings);
    if (!folder) return beside;
    std::error_code error;
    fs::create_directories(*folder, error);
    if (error) return beside;
    const SettingsFiles own = filesIn(*folder);
    const fs::path shipped = surroundings.programFolder.parent_path() / "share" / "tandemora";
    const bool seeded = seed(own.settingsFile, {beside.settingsFile, shipped / kSettingsName}, "") &&
                        seed(own.layoutFile, {beside.layoutFile, shipped / kLayoutName},
                             std::string(sizeof(LayoutBytes), '\0'));
    return seeded ? own : beside;
}

}  // namespace tandemora
