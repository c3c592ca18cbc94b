// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/line_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <fstream>
#include <system_error>

namespace dorvo {

bool readRawLine(std::istream& in, std::string& line) {
    line.clear();
    if (!std::getline(in, line)) return false;
    if (!in.eof()) line.push_back('\n');
    return true;
}

std::string_view withoutLineEnd(std::string_view line) {
    if (line.ends_with("\r\n")) return line.substr(0, line.size() - 2);
    if (line.ends_with('\n')) return line.substr(0, line.size() - 1);
    return line;
}

bool copyStream(std::istream& from, std::ostream& to) {
    std::array<char, 65536> buffer;
    while (from) {
        from.read(buffer.data(), buffer.size());
        std::streamsize got = from.gcount();
        if (got > 0 && !to.write(buffer.data(), got)) return false;
    }
    return static_cast<bool>(to);
}

namespace {

bool syncToDisk(const std::filesystem::path& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

std::filesystem::path resolveLink(const std::filesystem::path& target) {
    std::error_code error;
    if (std::filesystem::is_symlink(target, error)) {
        auto resolved = std::filesystem::weakly_canonical(target, error);
        if (!error) return resolved;
    }
    return target;
}

/// Devices and pipes are written where they are: a new file renamed over one would replace
/// the device node (or the link to it) and the reader would get nothing.
bool writeInPlace(const std::filesystem::path& target,
                  const std::function<bool(std::ostream&)>& writer) {
    std::ofstream out(target, std::ios::binary);
    if (!out) return false;
    bool complete = writer(out);
    out.flush();
    return complete && static_cast<bool>(out);
}

}  // namespace

bool writeFileAtomically(const std::filesystem::path& requested,
                         const std::function<bool(std::ostream&)>& writer) {
    namespace fs = std::filesystem;
    struct stat existing {};
    const bool exists = ::stat(requested.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) return false;
    if (exists && !S_ISREG(existing.st_mode)) return writeInPlace(requested, writer);
    const fs::path target = resolveLink(requested);
    // A file the user may not write is not replaced behind its back, as text editors do.
    if (exists && ::access(target.c_str(), W_OK) != 0) return false;
    const fs::path temporary = temporaryPathFor(target);
    std::error_code error;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        bool complete = writer(out);
        out.flush();
        complete = complete && static_cast<bool>(out);
        out.close();
        if (!complete || !out || !syncToDisk(temporary)) {
            fs::remove(temporary, error);
            return false;
        }
    }
    if (exists) {
        fs::permissions(temporary, fs::status(target, error).permissions(), error);
        // Saving another user's file (as root) keeps it theirs. Without the right to change
        // owners the new file stays the saver's, which is no reason to fail the save.
        [[maybe_unused]] const int owned =
            ::chown(temporary.c_str(), existing.st_uid, existing.st_gid);
    }
    fs::rename(temporary, target, error);
    if (error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return false;
    }
    return true;
}

std::filesystem::path temporaryPathFor(const std::filesystem::path& target) {
    std::filesystem::path temporary = resolveLink(target);
    temporary += ".saving-" + std::to_string(::getpid());
    return temporary;
}

std::optional<std::vector<std::string>> readTextLines(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<std::string> lines;
    std::string line;
    while (readRawLine(in, line)) lines.emplace_back(withoutLineEnd(line));
    return lines;
}

}  // namespace dorvo
