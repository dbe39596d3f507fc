// A settings file of the classic INI form, read and written the way the Windows profile
// functions do it, so that files edited by hand keep every line they had.
#pragma once

#include <cstddef>
#include <cstdint>
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

    // Larger than any settings file: something else was named.
    static constexpr std::uint64_t kMaxFileSize = 1 << 20;

    // The file's contents; a missing file gives an empty one. Nothing for a folder, a device,
    // a file larger than kMaxFileSize or one that cannot be read; `problem` then says why.
    static std::optional<IniFile> load(const std::filesystem::path& path, std::string& problem);
    // Writes the contents through a temporary file renamed over the old one, so a failed write
    // leaves the file as it was; false when it cannot be written.
    bool save(const std::filesystem::path& path) const;

    std::string text() const;

    // The value of the first key of that name in a section of that name, both ignoring case,
    // without the double quotes that may enclose it, cut to maxChars; the default when there
    // is none.
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
        std::string value;                      // of the key, blanks, CR and enclosing quotes stripped
    };
    Lookup find(std::string_view section, std::string_view key) const;
    void insertLine(std::size_t at, const std::string& content);

    std::vector<std::string> lines_;  // each with its own line end, if it has one
    std::string lineEnd_ = "\n";      // the style of the file: CR LF when its first line uses it
};

}  // namespace tandemora
