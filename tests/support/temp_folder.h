// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace dorvo::test {

/// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

/// Writes bytes to a file exactly as given.
void writeBytes(const std::filesystem::path& file, std::string_view bytes);

/// Reads a whole file as bytes.
std::string readBytes(const std::filesystem::path& file);

}  // namespace dorvo::test
