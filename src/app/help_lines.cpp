// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/help_lines.h"

#include "model/line_io.h"

namespace dorvo {

namespace {

bool isLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9f) || (byte >= 0xe0 && byte <= 0xfc);
}

}  // namespace

std::vector<std::string> splitHelpLine(std::string_view line, std::size_t limit) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    while (start < line.size()) {
        std::size_t end = start;
        while (end < line.size()) {
            const std::size_t width =
                isLeadByte(static_cast<unsigned char>(line[end])) && end + 1 < line.size() ? 2 : 1;
            if (end + width - start > limit) break;
            end += width;
        }
        if (end == start) end = start + 1;  // a limit below one character still moves on
        pieces.emplace_back(line.substr(start, end - start));
        start = end;
    }
    if (pieces.empty()) pieces.emplace_back();
    return pieces;
}

std::optional<std::vector<std::string>> readHelpEntries(const std::filesystem::path& file) {
    auto lines = readTextLines(file);
    if (!lines) return std::nullopt;
    std::vector<std::string> entries;
    for (const std::string& line : *lines) {
        for (std::string& piece : splitHelpLine(line)) entries.push_back(std::move(piece));
    }
    return entries;
}

}  // namespace dorvo
