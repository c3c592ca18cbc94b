// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/line_io.h"

#include <array>
#include <fstream>

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

std::optional<std::vector<std::string>> readTextLines(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<std::string> lines;
    std::string line;
    while (readRawLine(in, line)) lines.emplace_back(withoutLineEnd(line));
    return lines;
}

}  // namespace dorvo
