#include "settings/recent_files.h"

#include <algorithm>
#include <optional>
#include <system_error>

namespace tandemora {

namespace {

constexpr const char* kSection = "Recent Files";
// Longer than any path the system opens.
constexpr std::size_t kNameChars = 4096;

std::string keyOf(std::size_t index) { return "File" + std::to_string(index + 1); }

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// Reading a value trims its blanks and strips enclosing quotes; a name ending in a blank keeps
// it inside quotes. Absolute names start with '/', so a quote is never their first byte.
std::string storedValue(const std::string& name) {
    return !name.empty() && isBlank(name.back()) ? '"' + name + '"' : name;
}

std::string normalName(const std::filesystem::path& file) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(file, error);
    return (error ? file : absolute).lexically_normal().string();
}

}  // namespace

void RecentFiles::add(const std::filesystem::path& file) {
    const std::string name = normalName(file);
    if (name.empty() || name.find('\n') != std::string::npos) return;
    remove(name);
    files_.insert(files_.begin(), name);
    if (files_.size() > kMaxFiles) files_.resize(kMaxFiles);
}

bool RecentFiles::remove(const std::string& file) {
    const auto found = std::ranges::find(files_, file);
    if (found == files_.end()) return false;
    files_.erase(found);
    return true;
}

void RecentFiles::read(const IniFile& file) {
    files_.clear();
    // Read from the oldest, so the first of a name listed twice by hand wins.
    for (std::size_t i = kMaxFiles; i-- > 0;) {
        const std::string name = file.readString(kSection, keyOf(i), "", kNameChars);
        if (!name.empty()) add(name);
    }
}

void RecentFiles::write(IniFile& file) const {
    // Every key is written, so a shorter list leaves no older names behind.
    for (std::size_t i = 0; i < kMaxFiles; ++i)
        file.writeString(kSection, keyOf(i), i < files_.size() ? storedValue(files_[i]) : "");
}

bool saveRecentFiles(const RecentFiles& recent, const std::filesystem::path& settingsFile) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(settingsFile, error)) return false;
    std::string problem;
    std::optional<IniFile> file = IniFile::load(settingsFile, problem);
    if (!file) return false;
    recent.write(*file);
    return file->save(settingsFile);
}

RecentFiles loadRecentFiles(const std::filesystem::path& settingsFile) {
    RecentFiles recent;
    std::string problem;
    if (const std::optional<IniFile> file = IniFile::load(settingsFile, problem)) recent.read(*file);
    return recent;
}

}  // namespace tandemora
