#include "DataLinkFiles.h"

#include "DataLinkFolder.h"
#include "FilePaths.h"

#include <QString>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace {

// The file search matches the extension without regard to case, as Windows does.
bool hasDataLinkExtension(const std::string& name) {
    constexpr std::string_view extension = ".udl";
    if (name.size() < extension.size()) {
        return false;
    }
    const std::string_view tail = std::string_view(name).substr(name.size() - extension.size());
    for (std::size_t i = 0; i < extension.size(); ++i) {
        const char c = tail[i];
        const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        if (lower != extension[i]) {
            return false;
        }
    }
    return true;
}

} // namespace

int ListDataLinkFiles(std::vector<std::string>& list, const std::string& folder) {
    list.clear();
    // An empty data link folder leaves the root folder to search.
    const std::string searched = (folder.empty() ? DataLinkFolder() : folder) + PathDelimiter;
    std::error_code error;
    std::filesystem::directory_iterator entries(searched, error);
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        // Folders, pipes and devices are no data links, whatever their names.
        std::error_code typeError;
        if (!entries->is_regular_file(typeError)) {
            continue;
        }
        std::string name = entries->path().filename().string();
        if (hasDataLinkExtension(name)) {
            list.push_back(std::move(name));
        }
    }
    return static_cast<int>(list.size());
}

bool writeDataLinkFile(const std::string& path, const std::string& connectionString,
                       std::string& failure) {
    const std::u16string text =
        u"\uFEFF[oledb]\r\n; Everything after this line is an OLE DB initstring\r\n" +
        QString::fromStdString(connectionString).toStdU16String() + u"\r\n";
    std::string bytes;
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    namespace fs = std::filesystem;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    std::error_code error;
    if (file) {
        fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write,
                        fs::perm_options::replace, error);
    }
    if (!file || error || !file.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) ||
        !file.flush()) {
        failure = error ? error.message() : std::strerror(errno);
        return false;
    }
    return true;
}
