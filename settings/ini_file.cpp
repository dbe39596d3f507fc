#include "settings/ini_file.h"

#include <algorithm>
#include <sstream>
#include <system_error>

#include "game/file_replacement.h"
#include "game/game_file.h"

namespace tandemora {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

std::string_view withoutLineEnd(std::string_view line) {
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    return line;
}

// A value enclosed in double quotes is read without them, as the Windows profile functions do.
std::string_view unquoted(std::string_view value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') return value.substr(1, value.size() - 2);
    return value;
}

// The line's own line end: CR LF, LF or none.
std::string lineEndOf(std::string_view line) {
    if (line.ends_with("\r\n")) return "\r\n";
    return line.ends_with('\n') ? "\n" : "";
}

// The name of a section header line, or nothing for any other line.
std::optional<std::string_view> sectionName(std::string_view line) {
    line = trimmed(withoutLineEnd(line));
    if (line.empty() || line.front() != '[') return std::nullopt;
    auto close = line.find(']');
    return trimmed(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
}

}  // namespace

IniFile::IniFile(std::string_view text) {
    for (std::size_t start = 0; start < text.size();) {
        auto end = text.find('\n', start);
        end = end == std::string_view::npos ? text.size() : end + 1;
        lines_.emplace_back(text.substr(start, end - start));
        start = end;
    }
    if (!lines_.empty() && lines_.front().ends_with("\r\n")) lineEnd_ = "\r\n";
}

std::optional<IniFile> IniFile::load(const std::filesystem::path& path, std::string& problem) {
    std::error_code error;
    if (std::filesystem::status(path, error).type() == std::filesystem::file_type::not_found) return IniFile();
    // A folder, a device or a pipe is not read, nor a file far larger than any settings file.
    const std::optional<std::string> text = readFileText(path.string(), problem, kMaxFileSize);
    if (!text) return std::nullopt;
    return IniFile(*text);
}

bool IniFile::save(const std::filesystem::path& path) const {
    std::ostringstream details;
    const auto write = [this](std::ostream& out) { return static_cast<bool>(out << text()); };
    return replaceFile(path.string(), write, details) == Replacement::kDone;
}

std::string IniFile::text() const {
    std::string all;
    for (const auto& line : lines_) all += line;
    return all;
}

IniFile::Lookup IniFile::find(std::string_view section, std::string_view key) const {
    Lookup result;
    bool inSection = false;
    bool firstSection = false;  // inside the first section of that name, where new keys go
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        std::string_view line = withoutLineEnd(lines_[i]);
        if (auto name = sectionName(line)) {
            inSection = equalIgnoringCase(*name, section);
            firstSection = inSection && !result.sectionEnd;
            if (firstSection) result.sectionEnd = i + 1;
            continue;
        }
        if (!inSection) continue;
        if (firstSection && !trimmed(line).empty()) result.sectionEnd = i + 1;
        auto equals = line.find('=');
        if (equals != std::string_view::npos && equalIgnoringCase(trimmed(line.substr(0, equals)), key)) {
            result.keyLine = i;
            result.value = unquoted(trimmed(line.substr(equals + 1)));
            return result;
        }
    }
    return result;
}

std::string IniFile::readString(std::string_view section, std::string_view key, std::string_view defaultValue,
                                std::size_t maxChars) const {
    auto lookup = find(section, key);
    std::string value = lookup.keyLine ? lookup.value : std::string(defaultValue);
    if (value.size() > maxChars) value.resize(maxChars);
    return value;
}

int IniFile::readInt(std::string_view section, std::string_view key, int defaultValue) const {
    auto lookup = find(section, key);
    if (!lookup.keyLine) return defaultValue;
    unsigned number = 0;  // an overlong number wraps around instead of failing
    for (char c : lookup.value) {
        if (c < '0' || c > '9') break;
        number = number * 10 + static_cast<unsigned>(c - '0');
    }
    return static_cast<int>(number);
}

void IniFile::insertLine(std::size_t at, const std::string& content) {
    // A last line without a line end gets one before anything follows it.
    if (at == lines_.size() && !lines_.empty() && !lines_.back().ends_with('\n')) lines_.back() += lineEnd_;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), content + lineEnd_);
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
    std::string entry = std::string(key) + "=" + std::string(value);
    auto lookup = find(section, key);
    if (lookup.keyLine) {
        std::string& line = lines_[*lookup.keyLine];
        line = entry + lineEndOf(line);
    } else if (lookup.sectionEnd) {
        insertLine(*lookup.sectionEnd, entry);
    } else {
        std::string header(1, '[');
        header.append(section);
        header += ']';
        insertLine(lines_.size(), header);
        insertLine(lines_.size(), entry);
    }
}

}  // namespace tandemora
