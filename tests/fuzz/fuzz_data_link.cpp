// Data link files: UTF-16 with a byte-order mark or UTF-8, truncated and malformed,
// read from paths of every file type (a pipe or a device must be refused, never waited on).
#include "dbaccess/odbc/ConnectionStringRules.h"
#include "dbaccess/values/Exceptions.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// A folder holding a plain file, a pipe, a socket, a folder and links to each
// and to a device, all named *.udl.
struct Paths {
    std::filesystem::path folder;
    std::array<std::string, 7> paths;
    int listener = -1;

    Paths() {
        folder =
            std::filesystem::temp_directory_path() / ("velbrook-fuzz-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder / "folder.udl");
        const auto at = [this](const char* name) { return (folder / name).string(); };
        paths = {at("plain.udl"),  at("pipe.udl"),    at("socket.udl"), at("folder.udl"),
                 at("device.udl"), at("to-pipe.udl"), at("missing.udl")};
        std::ofstream(paths[0], std::ios::binary) << "";
        mkfifo(paths[1].c_str(), 0600);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        paths[2].copy(address.sun_path, sizeof address.sun_path - 1);
        listener = socket(AF_UNIX, SOCK_STREAM, 0);
        bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address);
        std::filesystem::create_symlink("/dev/zero", paths[4]);
        std::filesystem::create_symlink(paths[1], paths[5]);
    }
    ~Paths() {
        close(listener);
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    Paths(const Paths&) = delete;
    Paths& operator=(const Paths&) = delete;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Paths files;
    const std::string contents(reinterpret_cast<const char*>(data), size);
    const std::string held = dataLinkConnectionString(contents);
    parseConnectionString(held);
    if (size > 0) {
        const std::string& path = files.paths[data[0] % files.paths.size()];
        if (path == files.paths[0]) {
            std::ofstream(path, std::ios::binary | std::ios::trunc) << contents;
        }
        try {
            parseConnectionString(readDataLinkFile(path));
        } catch (const EOleException&) {
        }
    }
    return 0;
}
