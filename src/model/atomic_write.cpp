// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/atomic_write.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <optional>
#include <random>
#include <streambuf>
#include <string>
#include <system_error>

#include "model/messages.h"

namespace dorvo {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kSavingMark = ".saving-";
constexpr std::size_t kRandomLength = 12;
constexpr std::string_view kRandomAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

/// The temporaries being written, kept where a signal handler can read them without a lock:
/// a slot is claimed, filled and then marked ready; the handler only reads ready slots.
struct TemporarySlot {
    enum State : int { Free, Filling, Ready };
    std::atomic<int> state{Free};
    std::array<char, 4096> path{};
};
std::array<TemporarySlot, 32> temporariesInProgress;

/// Holds one temporary in the registry for as long as it lives.
class RegisteredTemporary {
  public:
    explicit RegisteredTemporary(const fs::path& path) {
        const std::string& text = path.native();
        if (text.size() >= TemporarySlot{}.path.size()) return;
        for (TemporarySlot& slot : temporariesInProgress) {
            int free = TemporarySlot::Free;
            if (!slot.state.compare_exchange_strong(free, TemporarySlot::Filling)) continue;
            std::memcpy(slot.path.data(), text.c_str(), text.size() + 1);
            slot.state.store(TemporarySlot::Ready);
            slot_ = &slot;
            return;
        }
    }
    ~RegisteredTemporary() {
        if (slot_ != nullptr) slot_->state.store(TemporarySlot::Free);
    }
    RegisteredTemporary(const RegisteredTemporary&) = delete;
    RegisteredTemporary& operator=(const RegisteredTemporary&) = delete;

  private:
    TemporarySlot* slot_ = nullptr;
};

std::string randomPart() {
    std::array<unsigned char, kRandomLength> bytes{};
    if (::getrandom(bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size())) {
        std::random_device device;
        for (unsigned char& byte : bytes) byte = static_cast<unsigned char>(device());
    }
    std::string text;
    for (unsigned char byte : bytes) text.push_back(kRandomAlphabet[byte % kRandomAlphabet.size()]);
    return text;
}

/// The words for a failed system call, as the user is shown them.
std::string reasonFor(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
            return "このフォルダには新しいファイルを作れません";
        case EROFS:
            return "読み取り専用のドライブです";
        case ENOSPC:
        case EDQUOT:
            return "ディスクの空きがありません";
        default:
            return std::generic_category().message(error);
    }
}

Failure cannotWrite(const fs::path& file, std::string_view reason = {}) {
    return Failure{cannotWriteMessage(file, reason)};
}

/// An output buffer straight onto a file descriptor that remembers why a write failed.
class DescriptorBuffer : public std::streambuf {
  public:
    explicit DescriptorBuffer(int fd) : fd_(fd) { setp(buffer_.data(), buffer_.data() + size()); }
    int error() const { return error_; }

  protected:
    int_type overflow(int_type ch) override {
        if (!drain()) return traits_type::eof();
        if (!traits_type::eq_int_type(ch, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(ch);
            pbump(1);
        }
        return traits_type::not_eof(ch);
    }
    int sync() override { return drain() ? 0 : -1; }

  private:
    std::ptrdiff_t size() const { return static_cast<std::ptrdiff_t>(buffer_.size()); }

    bool drain() {
        const char* next = pbase();
        while (next < pptr()) {
            const ssize_t written = ::write(fd_, next, static_cast<std::size_t>(pptr() - next));
            if (written < 0 && errno == EINTR) continue;
            if (written <= 0) {
                error_ = written < 0 ? errno : ENOSPC;
                return false;
            }
            next += written;
        }
        setp(buffer_.data(), buffer_.data() + size());
        return true;
    }

    int fd_;
    int error_ = 0;
    std::array<char, 65536> buffer_{};
};

/// Devices and pipes are written where they are: a new file renamed over one would replace
/// the device node (or the link to it) and the reader would get nothing.
Status writeInPlace(const fs::path& target, const std::function<bool(std::ostream&)>& writer) {
    std::ofstream out(target, std::ios::binary);
    if (!out) return cannotWrite(target);
    bool complete = writer(out);
    out.flush();
    if (!complete || !out) return cannotWrite(target);
    return Done{};
}

fs::path resolveLink(const fs::path& target) {
    std::error_code error;
    if (fs::is_symlink(target, error)) {
        auto resolved = fs::weakly_canonical(target, error);
        if (!error) return resolved;
    }
    return target;
}

struct CreatedTemporary {
    fs::path path;
    int fd = -1;
};

/// Creates a new file beside the target under a fresh random name; a name that exists, as a
/// file or as a link, is passed over.
Result<CreatedTemporary> createTemporaryBeside(const fs::path& target, mode_t mode) {
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const std::string stem =
        target.filename().string() + std::string(kSavingMark) + std::to_string(::getpid()) + "-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path candidate = folder / (stem + randomPart());
        const int fd =
            ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0) return CreatedTemporary{std::move(candidate), fd};
        if (errno != EEXIST) return cannotWrite(target, reasonFor(errno));
    }
    return cannotWrite(target, reasonFor(EEXIST));
}

/// Gives the new file the mode and owner of the file it replaces. Without the right to change
/// owners (saving another user's file as root keeps it theirs) the new file stays the saver's,
/// which is no reason to fail the save.
bool takeOverModeAndOwner(int fd, const struct stat& replaced) {
    [[maybe_unused]] const int owned = ::fchown(fd, replaced.st_uid, replaced.st_gid);
    return ::fchmod(fd, replaced.st_mode & 07777) == 0;
}

void syncFolder(const fs::path& folder) {
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

std::optional<pid_t> writerOf(const std::string& name) {
    if (!isSavingTemporaryName(name)) return std::nullopt;
    const std::size_t digits = name.rfind(kSavingMark) + kSavingMark.size();
    pid_t pid = 0;
    std::from_chars(name.data() + digits, name.data() + name.size(), pid);
    return pid;
}

}  // namespace

Status writeFileAtomically(const fs::path& requested,
                           const std::function<bool(std::ostream&)>& writer) {
    struct stat existing {};
    const bool exists = ::stat(requested.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) return cannotWrite(requested, "フォルダです");
    if (exists && !S_ISREG(existing.st_mode)) return writeInPlace(requested, writer);
    const fs::path target = resolveLink(requested);
    // A file the user may not write is not replaced behind its back, as text editors do.
    if (exists && ::access(target.c_str(), W_OK) != 0) {
        return cannotWrite(requested, "書き込みが禁止されたファイルです");
    }
    removeAbandonedTemporaries(target.has_parent_path() ? target.parent_path() : fs::path("."));
    auto created = createTemporaryBeside(target, exists ? 0600 : 0666);
    if (!created) return Failure{created.error()};
    const fs::path& temporary = created->path;
    const int fd = created->fd;
    RegisteredTemporary registered(temporary);
    auto giveUp = [&](std::string_view reason) -> Status {
        ::close(fd);
        ::unlink(temporary.c_str());
        return cannotWrite(requested, reason);
    };
    DescriptorBuffer buffer(fd);
    std::ostream out(&buffer);
    const bool complete = writer(out);
    out.flush();
    if (buffer.error() != 0) return giveUp(reasonFor(buffer.error()));
    if (!complete || !out) return giveUp({});
    if (exists && !takeOverModeAndOwner(fd, existing)) return giveUp(reasonFor(errno));
    if (::fsync(fd) != 0) return giveUp(reasonFor(errno));
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return cannotWrite(requested, reasonFor(error));
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return cannotWrite(requested, reasonFor(error));
    }
    syncFolder(target.parent_path());
    return Done{};
}

bool isSavingTemporaryName(const std::string& name) {
    const std::size_t mark = name.rfind(kSavingMark);
    if (mark == std::string::npos || mark == 0) return false;
    const std::string_view rest = std::string_view(name).substr(mark + kSavingMark.size());
    const std::size_t dash = rest.find('-');
    if (dash == 0 || dash == std::string_view::npos) return false;
    for (char c : rest.substr(0, dash)) {
        if (c < '0' || c > '9') return false;
    }
    const std::string_view random = rest.substr(dash + 1);
    return random.size() == kRandomLength &&
           random.find_first_not_of(kRandomAlphabet) == std::string_view::npos;
}

void removeTemporariesInProgress() {
    for (TemporarySlot& slot : temporariesInProgress) {
        if (slot.state.load() == TemporarySlot::Ready) ::unlink(slot.path.data());
    }
}

void removeAbandonedTemporaries(const fs::path& folder) {
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const auto pid = writerOf(entry->path().filename().string());
        if (!pid || *pid <= 0) continue;
        struct stat file {};
        if (::lstat(entry->path().c_str(), &file) != 0 || !S_ISREG(file.st_mode)) continue;
        if (file.st_uid != ::geteuid()) continue;
        // A process of another user answers EPERM: it runs, and its file stays.
        if (::kill(*pid, 0) == 0 || errno != ESRCH) continue;
        ::unlink(entry->path().c_str());
    }
}

}  // namespace dorvo
