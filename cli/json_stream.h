// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <nlohmann/json.hpp>
#include <ostream>
#include <string_view>
#include <vector>

namespace dorvo::cli {

/// Writes a JSON document a piece at a time, byte for byte as the whole document would dump
/// with an indent of two, so that a list of millions of entries is never held in memory.
/// Text that is not UTF-8 is replaced, as the whole dump would replace it.
class JsonStreamWriter {
  public:
    explicit JsonStreamWriter(std::ostream& out) : out_(out) {}

    /// Names the member that the next value, object or array is, inside an object.
    void key(std::string_view name);
    /// Writes a whole value as the next member or element.
    void value(const nlohmann::json& value);
    /// Opens an object or an array as the next member or element, until its `close`.
    void openObject() { open('{', '}'); }
    void openArray() { open('[', ']'); }
    void close();

  private:
    struct Level {
        char closing;
        bool empty = true;
    };

    void open(char opening, char closing);
    /// Starts the next member or element of the innermost open object or array.
    void startItem();
    void newLine(std::size_t depth);

    std::ostream& out_;
    std::vector<Level> open_;
    bool keyWritten_ = false;
};

}  // namespace dorvo::cli
