// SPDX-License-Identifier: GPL-3.0-or-later
#include "json_stream.h"

#include <string>

namespace dorvo::cli {

namespace {

constexpr int kIndent = 2;

std::string dumped(const nlohmann::json& value) {
    return value.dump(kIndent, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace

void JsonStreamWriter::key(std::string_view name) {
    startItem();
    out_ << dumped(nlohmann::json(name)) << ": ";
    keyWritten_ = true;
}

void JsonStreamWriter::value(const nlohmann::json& value) {
    startItem();
    // A value dumped on its own is indented from the left margin; inside the document its
    // lines move right by the depth at which it stands.
    const std::string text = dumped(value);
    std::size_t from = 0;
    for (std::size_t end = text.find('\n'); end != text.npos; end = text.find('\n', from)) {
        out_.write(text.data() + from, static_cast<std::streamsize>(end - from));
        newLine(open_.size());
        from = end + 1;
    }
    out_.write(text.data() + from, static_cast<std::streamsize>(text.size() - from));
}

void JsonStreamWriter::close() {
    const Level level = open_.back();
    open_.pop_back();
    if (!level.empty) newLine(open_.size());
    out_ << level.closing;
}

void JsonStreamWriter::open(char opening, char closing) {
    startItem();
    out_ << opening;
    open_.push_back({closing});
}

void JsonStreamWriter::startItem() {
    if (keyWritten_) {
        keyWritten_ = false;
        return;
    }
    if (open_.empty()) return;
    Level& level = open_.back();
    if (!level.empty) out_ << ',';
    level.empty = false;
    newLine(open_.size());
}

void JsonStreamWriter::newLine(std::size_t depth) {
    out_ << '\n' << std::string(depth * kIndent, ' ');
}

}  // namespace dorvo::cli
