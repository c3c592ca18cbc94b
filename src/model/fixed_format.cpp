#include "model/fixed_format.h"

#include <charconv>
#include <cmath>

#include "model/number_text.h"

namespace dorvo {

void appendFixed(std::string& out, double value, int width, int precision) {
    // 9999.99 has 7 characters; magnitudes beyond 1e30 do not occur in records, but printf
    // writes them in full and so does the fallback.
    char digits[64];
    const auto [end, error] = std::isfinite(value) && std::fabs(value) < 1e30
                                  ? std::to_chars(digits, digits + sizeof digits, value,
                                                  std::chars_format::fixed, precision)
                                  : std::to_chars_result{digits, std::errc::value_too_large};
    if (error != std::errc()) {
        out += formatC("%*.*f", width, precision, value);
        return;
    }
    const auto length = static_cast<int>(end - digits);
    if (length < width) out.append(static_cast<std::size_t>(width - length), ' ');
    out.append(digits, end);
}

}  // namespace dorvo
