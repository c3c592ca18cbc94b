// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/fixed_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>

namespace dorvo {
namespace {

std::string printfFixed(double value, int width, int precision) {
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, "%*.*f", width, precision, value);
    return buffer;
}

std::string fixed(double value, int width, int precision) {
    std::string out;
    appendFixed(out, value, width, precision);
    return out;
}

// The formats of the records: %8.2f, %11.2f, %8.3f, %8.4f, %6.2f and %.2f.
constexpr int kFormats[][2] = {{8, 2}, {11, 2}, {8, 3}, {8, 4}, {6, 2}, {0, 2}};

TEST(AppendFixed, EqualsPrintfOnEdgeValues) {
    const double values[] = {0.0, -0.0, 0.005, 0.015, 0.125, 1.005, 2.675, 9999.99, 9999.995,
                             -9999.99, 1e-300, -1e-300, 1e15, -1e15, 1e29, 1e31, -1e300, 0.045,
                             123456.785, 0.3125, -2.5e-3, HUGE_VAL, -HUGE_VAL, std::nan(""), 4.35,
                             1.0000005, 99999999.995,
                             // Where the integer arithmetic hands over to printf, and below.
                             99999999999999.98, 1e14, 9.9999999999999969e13, 5e-324, -5e-324,
                             2.2250738585072014e-308, 0.00005, 0.00015, 0.000049999999999999996};
    for (const auto& [width, precision] : kFormats) {
        for (double value : values) {
            EXPECT_EQ(fixed(value, width, precision), printfFixed(value, width, precision))
                << value << " as %" << width << "." << precision << "f";
        }
    }
}

TEST(AppendFixed, EqualsPrintfOnAMillionRandomValues) {
    std::mt19937_64 random(20261208);
    std::uniform_real_distribution<double> magnitude(-8.0, 8.0);
    std::uniform_int_distribution<int> hundredths(-100000000, 100000000);
    for (int i = 0; i < 100000; ++i) {
        // Values of every magnitude, and values that fall exactly between two outputs.
        const double wide = std::pow(10.0, magnitude(random)) * (i % 2 == 0 ? 1 : -1);
        const double halfway = (hundredths(random) + 0.5) / 100.0;
        double bits;
        const std::uint64_t raw = random();
        std::memcpy(&bits, &raw, sizeof bits);
        for (const auto& [width, precision] : kFormats) {
            // Random bit patterns are mostly huge numbers that printf writes in full: fewer.
            for (double value : {wide, halfway, i % 10 == 0 ? bits : halfway}) {
                ASSERT_EQ(fixed(value, width, precision), printfFixed(value, width, precision))
                    << value << " as %" << width << "." << precision << "f";
            }
        }
    }
}

}  // namespace
}  // namespace dorvo
