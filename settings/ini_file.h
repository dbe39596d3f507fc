// A settings file of the classic INI form, read and written the way the Windows profile
// functions do it, so that files edited by hand keep every line they had.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tandemora {

class IniFile {
public:
    IniFile() = default;
    explicit IniFile(std::string_view text);

    // The file's contents; a file that cannot be read gives an empty one.
    static IniFile load(const std::filesystem::path& path);
    // Writes the contents, creating or truncating the file; false when it cannot be written.
    bool save(const std::filesystem::path& path) const;

    std::string text() const;

    // The value of the first key of that name in a section of that name, both ignoring case,
    // cut to maxChars; the default when there is none.
    std::string readString(std::string_view section, std::string_view key, std::string_view defaultValue,
                           std::size_t maxChars) const;
    // The leading decimal digits of the value (0 when it has none); the default only when the
    // key is missing.
    int readInt(std::string_view section, std::string_view key, int defaultValue) const;

    // Replaces the first matching key's line, or adds the key at the end of its section, or adds
    // the section at the end of the file.
    void writeString(std::string_view section, std::string_view key, std::string_view value);

private:
    struct Lookup {
        std::optional<std::size_t> keyLine;     // the first matching key
        std::optional<std::size_t> sectionEnd;  // after the last non-blank line of the first matching section
        std::string value;                      // of the key, blanks and CR stripped
    };
    Lookup find(std::string_view section, std::string_view key) const;
    void insertLine(std::size_t at, const std::string& content);

    std::vector<std::string> lines_;  // each with its own line end, if it has one
    std::string lineEnd_ = "\n";      // the style of the file: CR LF when its first line uses it
};

}  // namespace tandemora
