// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/results_claim.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <string>
#include <system_error>

namespace dorvo {

namespace {

/// More programs than this at once in one working folder are not expected.
constexpr int kSlots = 64;

std::string slotStem(int slot) {
    return slot == 1 ? "Tmp1" : "Tmp1-" + std::to_string(slot);
}

}  // namespace

ResultsClaim::ResultsClaim(std::filesystem::path resultsFile, int fd)
    : resultsFile_(std::move(resultsFile)), fd_(fd) {}

ResultsClaim::~ResultsClaim() {
    // A second program's results go with it; "Tmp1.tmp" stays where the working folder has
    // always kept it. Lock files stay: removing one could let two programs lock two files of
    // the same name.
    if (resultsFile_.filename() != "Tmp1.tmp") {
        std::error_code ignored;
        std::filesystem::remove(resultsFile_, ignored);
    }
    ::close(fd_);
}

std::shared_ptr<const ResultsClaim> ResultsClaim::claim(const std::filesystem::path& workFolder) {
    for (int slot = 1; slot <= kSlots; ++slot) {
        const std::filesystem::path lockFile = workFolder / (slotStem(slot) + ".lock");
        const int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0) return nullptr;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            return std::shared_ptr<const ResultsClaim>(
                new ResultsClaim(workFolder / (slotStem(slot) + ".tmp"), fd));
        }
        ::close(fd);
    }
    return nullptr;
}

}  // namespace dorvo
