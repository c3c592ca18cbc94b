// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/encoding.h"

#include <iconv.h>

#include <cerrno>

namespace dorvo {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

/// One iconv conversion descriptor, closed when the converter goes out of scope.
class Converter {
  public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    ~Converter() {
        if (valid()) iconv_close(handle_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    /// Converts as much as possible; on a bad sequence returns false with `in` at the byte.
    bool convert(std::string_view& in, std::string& out) {
        char buffer[1024];
        while (!in.empty()) {
            char* inPtr = const_cast<char*>(in.data());
            std::size_t inLeft = in.size();
            char* outPtr = buffer;
            std::size_t outLeft = sizeof buffer;
            std::size_t done = iconv(handle_, &inPtr, &inLeft, &outPtr, &outLeft);
            int error = errno;
            out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
            in.remove_prefix(in.size() - inLeft);
            if (done == static_cast<std::size_t>(-1) && error != E2BIG) return false;
        }
        return true;
    }

  private:
    iconv_t handle_;
};

}  // namespace

std::string toDisplayText(std::string_view stored) {
    Converter converter("UTF-8", "CP932");
    std::string out;
    if (!converter.valid()) return std::string(stored);
    out.reserve(stored.size() * 3 / 2);
    while (!converter.convert(stored, out)) {
        out.append(kReplacement);
        stored.remove_prefix(1);
    }
    return out;
}

std::optional<std::string> toStoredText(std::string_view display) {
    Converter converter("CP932", "UTF-8");
    if (!converter.valid()) return std::nullopt;
    std::string out;
    if (!converter.convert(display, out)) return std::nullopt;
    return out;
}

std::string notEncodableMessage(std::string_view display) {
    return "この文字は保存できません (Shift-JIS にない文字が含まれています): " +
           std::string(display);
}

}  // namespace dorvo
