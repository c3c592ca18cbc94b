// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <memory>

namespace dorvo {

/// The results working file of one running program. The first program to run in a working
/// folder holds "Tmp1.tmp"; a second one at the same time holds "Tmp1-2.tmp", and so on, so
/// that two programs never read or replace each other's results. A claim is an advisory lock
/// on a companion ".lock" file, which the system releases however the program ends.
class ResultsClaim {
  public:
    ~ResultsClaim();
    ResultsClaim(const ResultsClaim&) = delete;
    ResultsClaim& operator=(const ResultsClaim&) = delete;

    const std::filesystem::path& resultsFile() const { return resultsFile_; }

    /// Claims the first free results working file of this folder; nothing when none of the
    /// slots can be locked (the folder is missing or not writable).
    static std::shared_ptr<const ResultsClaim> claim(const std::filesystem::path& workFolder);

  private:
    ResultsClaim(std::filesystem::path resultsFile, int fd);

    std::filesystem::path resultsFile_;
    int fd_;
};

}  // namespace dorvo
