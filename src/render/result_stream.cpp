// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/result_stream.h"

#include <sys/stat.h>

#include "model/line_io.h"

namespace dorvo {

ResultStreamReader::ResultStreamReader(const std::filesystem::path& file)
    : in_(file, std::ios::binary) {}

bool ResultStreamReader::next() {
    lineStart_ = nextStart_;
    if (!readRawLine(in_, raw_)) {
        line_ = {};
        return false;
    }
    nextStart_ += raw_.size();
    line_ = withoutLineEnd(raw_);
    return true;
}

void ResultStreamReader::seek(std::uint64_t offset) {
    in_.clear();
    in_.seekg(static_cast<std::streamoff>(offset));
    lineStart_ = offset;
    nextStart_ = offset;
}

ResultFileIdentity identityOf(const std::filesystem::path& file) {
    struct stat status {};
    if (::stat(file.c_str(), &status) != 0) return {};
    return {static_cast<std::uint64_t>(status.st_ino), static_cast<std::uint64_t>(status.st_size),
            static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec};
}

}  // namespace dorvo
