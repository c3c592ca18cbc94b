// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/text_cell.h"

namespace dorvo {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

CellKind classifyCell(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    if (i == text.size()) return CellKind::Empty;
    constexpr std::string_view kNumberStart = "1234567890.+-";
    return kNumberStart.find(text[i]) != std::string_view::npos ? CellKind::Number : CellKind::Text;
}

FirstField splitFirstField(std::string_view text) {
    FirstField result;
    bool quoted = false;
    std::size_t count = 0;
    for (char c : text) {
        ++count;
        if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            result.consumed = count;
            return result;
        } else if (c == '\n') {
            return result;
        } else {
            result.field.push_back(c);
        }
    }
    return result;
}

CsvField csvField(std::string_view line, int n) {
    CsvField result;
    if (line.empty()) return result;
    if (line.size() > kCsvLineLimit) {
        line = line.substr(0, kCsvLineLimit);
        result.truncated = true;
    }
    int taken = 0;
    while (!line.empty()) {
        FirstField first = splitFirstField(line);
        if (++taken == n) {
            result.status = CsvStatus::Found;
            result.text = std::move(first.field);
            return result;
        }
        if (first.consumed == 0) break;
        line.remove_prefix(first.consumed);
    }
    result.status = CsvStatus::Missing;
    return result;
}

TextAfter textAfter(std::string_view text, std::string_view separator) {
    std::size_t at = text.find(separator);
    if (at == std::string_view::npos || separator.empty()) return {};
    return {at + 1, std::string(text.substr(at + separator.size()))};
}

}  // namespace dorvo
