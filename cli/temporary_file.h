// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string_view>

namespace dorvo::cli {

/// A file in the temporary folder, removed when it goes out of scope.
class TemporaryFile {
  public:
    explicit TemporaryFile(std::string_view stem);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    /// Empty when the file could not be created.
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

}  // namespace dorvo::cli
