// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/number_text.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include <locale.h>

namespace dorvo {

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t skipSpace(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isSpace(text[i])) ++i;
    return i;
}

std::size_t skipDigits(std::string_view text, std::size_t i) {
    while (i < text.size() && isDigit(text[i])) ++i;
    return i;
}

}  // namespace

int readInteger(std::string_view text) {
    std::size_t i = skipSpace(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    std::size_t end = skipDigits(text, i);
    long long value = 0;
    for (std::size_t k = i; k < end; ++k) {
        value = value * 10 + (text[k] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) break;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

double readReal(std::string_view text) {
    std::size_t start = skipSpace(text);
    std::size_t i = start;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    std::size_t mantissa = i;
    std::size_t integerEnd = skipDigits(text, i);
    std::size_t end = integerEnd;
    bool digits = integerEnd > mantissa;
    if (end < text.size() && text[end] == '.') {
        std::size_t fractionEnd = skipDigits(text, end + 1);
        digits = digits || fractionEnd > end + 1;
        end = fractionEnd;
    }
    if (!digits) return 0.0;
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        std::size_t e = end + 1;
        if (e < text.size() && (text[e] == '+' || text[e] == '-')) ++e;
        std::size_t exponentEnd = skipDigits(text, e);
        if (exponentEnd > e) end = exponentEnd;
    }
    double value = 0.0;
    auto [ptr, ec] = std::from_chars(text.data() + mantissa, text.data() + end, value);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) {
        // from_chars leaves the value alone on range errors: an underflow (negative exponent)
        // reads as 0, an overflow as infinity, as the C conversion gives.
        std::string_view number = text.substr(mantissa, end - mantissa);
        std::size_t e = number.find_first_of("eE");
        bool underflow =
            e != std::string_view::npos && e + 1 < number.size() && number[e + 1] == '-';
        value = underflow ? 0.0 : HUGE_VAL;
    }
    return negative ? -value : value;
}

std::uint32_t readColour(std::string_view text) {
    std::string copy(text);
    long long value = std::strtoll(copy.c_str(), nullptr, 0);
    return static_cast<std::uint32_t>(static_cast<unsigned long long>(value) & 0xffffffffULL);
}

namespace {

/// Switches the calling thread to the C locale for as long as it lives. The process locale
/// may be the user's (a Qt application sets it), where "%.2f" would write a decimal comma
/// into comma-separated records; the thread's own locale also keeps formatting apart from a
/// setlocale call on another thread.
class CNumericScope {
  public:
    CNumericScope() : previous_(uselocale(cLocale())) {}
    ~CNumericScope() { uselocale(previous_); }
    CNumericScope(const CNumericScope&) = delete;
    CNumericScope& operator=(const CNumericScope&) = delete;

  private:
    static locale_t cLocale() {
        static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t{});
        return c;
    }
    locale_t previous_;
};

}  // namespace

std::string formatC(const char* format, ...) {
    const CNumericScope cNumbers;
    char small[256];
    std::va_list arguments;
    va_start(arguments, format);
    int length = std::vsnprintf(small, sizeof small, format, arguments);
    va_end(arguments);
    if (length < 0) return {};
    if (static_cast<std::size_t>(length) < sizeof small) return std::string(small, small + length);
    std::string large(static_cast<std::size_t>(length) + 1, '\0');
    va_start(arguments, format);
    std::vsnprintf(large.data(), large.size(), format, arguments);
    va_end(arguments);
    large.resize(static_cast<std::size_t>(length));
    return large;
}

std::string formatColour(std::uint32_t colour) {
    return formatC("0x%06x", colour);
}

std::string formatInt(int value) {
    return formatC("%d", value);
}

}  // namespace dorvo
