// The files opened or saved last, most recent first, as the File menu lists them. The settings
// file keeps them in a section of their own, written the moment the list changes.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "settings/ini_file.h"

namespace tandemora {

class RecentFiles {
public:
    static constexpr std::size_t kMaxFiles = 8;

    // The names as the file system's bytes, absolute.
    const std::vector<std::string>& files() const { return files_; }

    // Puts the file first: a file listed already moves there, the oldest falls off past
    // kMaxFiles. The name is made absolute first, so one file is listed once however it was
    // named. A name the settings file cannot hold (with a line break) is not listed.
    void add(const std::filesystem::path& file);
    // False when the file was not listed.
    bool remove(const std::string& file);

    // The list the file holds, replacing this one.
    void read(const IniFile& file);
    // Writes the list into its section; other sections stay as they are.
    void write(IniFile& file) const;

private:
    std::vector<std::string> files_;
};

// Writes the list into the settings file at once, touching nothing else in it; false when the
// file is missing or cannot be read or written. The list is a convenience: a failure is not
// worth a message each time a file is opened.
bool saveRecentFiles(const RecentFiles& recent, const std::filesystem::path& settingsFile);

// The list the settings file holds; an empty one when it cannot be read.
RecentFiles loadRecentFiles(const std::filesystem::path& settingsFile);

}  // namespace tandemora
