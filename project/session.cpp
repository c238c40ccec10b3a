#include "project/session.h"

#include <string_view>

#include "files/read_file.h"

namespace tervalen::project {

bool Work::operator==(const Work& other) const {
    return sheet.header == other.sheet.header && sheet.records == other.sheet.records &&
           forms == other.forms && sites == other.sites;
}

bool Session::unsaved(const sheet::Sheet& sheet,
                      const std::map<std::string, forms::FormSnapshot>& forms,
                      const std::vector<SiteWindowState>& sites) const {
    return sheet.header != m_saved.sheet.header || sheet.records != m_saved.sheet.records ||
           forms != m_saved.forms || sites != m_saved.sites;
}

std::string fingerprint(const std::filesystem::path& file) {
    const Result<std::string> bytes = files::readRegularFile(file, kMaxFileSize);
    if (!bytes) return {};
    std::uint64_t h = 14695981039346656037ULL;
    for (const char c : bytes.value()) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ULL;
    }
    static constexpr std::string_view kHex = "0123456789abcdef";
    std::string out = std::to_string(bytes.value().size()) + ':';
    for (int shift = 60; shift >= 0; shift -= 4) out += kHex[(h >> shift) & 0xF];
    return out;
}

void Session::start(Work work, std::filesystem::path file, std::string fingerprint) {
    m_saved = std::move(work);
    m_file = std::move(file);
    m_fingerprint = std::move(fingerprint);
}

void Session::saved(Work work, std::filesystem::path file) {
    m_saved = std::move(work);
    m_fingerprint = fingerprint(file);
    m_file = std::move(file);
}

std::string Session::changedOnDisk(const std::filesystem::path& target, bool created,
                                   const std::string& expected) const {
    if (target != m_file || expected.empty() || created) return {};
    std::string now = fingerprint(target);
    return now == expected ? std::string() : now;
}

std::string Session::caption() const {
    if (m_file.empty()) return "Tervalen[*]";
    const std::u8string name = m_file.filename().u8string();
    return std::string(name.begin(), name.end()) + "[*] - Tervalen";
}

std::filesystem::path Session::suggestedFile(const std::string& projectName,
                                             const std::filesystem::path& folder) {
    // Trimmed of spaces at both ends; a name of spaces alone is no name.
    const auto first = projectName.find_first_not_of(" \t");
    std::string name =
        first == std::string::npos
            ? std::string()
            : projectName.substr(first, projectName.find_last_not_of(" \t") - first + 1);
    for (char& c : name)
        if (std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos) c = '_';
    if (name.empty()) name = "工程";
    return folder / std::filesystem::path(std::u8string(name.begin(), name.end()) +
                                          std::u8string(kExtension, kExtension + std::string_view(kExtension).size()));
}

}  // namespace tervalen::project
