// SPDX-License-Identifier: GPL-3.0-or-later
#include "temporary_file.h"

#include <unistd.h>

#include <string>
#include <system_error>

namespace dorvo::cli {

namespace fs = std::filesystem;

TemporaryFile::TemporaryFile(std::string_view stem) {
    std::error_code error;
    std::string pattern =
        (fs::temp_directory_path(error) / (std::string(stem) + "-XXXXXX")).string();
    const int fd = ::mkstemp(pattern.data());
    if (fd >= 0) {
        ::close(fd);
        path_ = pattern;
    }
}

TemporaryFile::~TemporaryFile() {
    std::error_code ignored;
    if (!path_.empty()) fs::remove(path_, ignored);
}

}  // namespace dorvo::cli
