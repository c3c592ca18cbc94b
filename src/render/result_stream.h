// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace dorvo {

/// Reads the results working file line by line for the pages, knowing where each line starts
/// so that a page can come back to it.
class ResultStreamReader {
  public:
    explicit ResultStreamReader(const std::filesystem::path& file);

    bool isOpen() const { return static_cast<bool>(in_); }

    /// Moves to the next line; false at the end of the file.
    bool next();
    /// The current line without its line end.
    std::string_view line() const { return line_; }
    /// Whether the current line holds this text, such as "FS min".
    bool has(std::string_view marker) const { return line_.find(marker) != line_.npos; }

    /// Where the current line starts in the file.
    std::uint64_t lineStart() const { return lineStart_; }
    /// Continues reading at a line start that `lineStart` gave.
    void seek(std::uint64_t offset);

  private:
    std::ifstream in_;
    std::string raw_;
    std::string_view line_;
    std::uint64_t lineStart_ = 0;
    std::uint64_t nextStart_ = 0;
};

/// What tells one content of a results working file from another: a calculation replaces
/// the file, so its inode, size or time changes.
struct ResultFileIdentity {
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;

    bool operator==(const ResultFileIdentity&) const = default;
};

ResultFileIdentity identityOf(const std::filesystem::path& file);

}  // namespace dorvo
