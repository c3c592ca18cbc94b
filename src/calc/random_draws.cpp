// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/random_draws.h"

namespace dorvo {

namespace {

constexpr std::uint32_t kMultiplier0 = 0xD2511F53;
constexpr std::uint32_t kMultiplier1 = 0xCD9E8D57;
constexpr std::uint32_t kWeyl0 = 0x9E3779B9;
constexpr std::uint32_t kWeyl1 = 0xBB67AE85;

std::uint32_t low(std::uint64_t value) {
    return static_cast<std::uint32_t>(value);
}
std::uint32_t high(std::uint64_t value) {
    return static_cast<std::uint32_t>(value >> 32);
}

}  // namespace

std::array<std::uint32_t, 4> philox4x32(std::array<std::uint32_t, 4> counter,
                                        std::array<std::uint32_t, 2> key) {
    for (int round = 0; round < 10; ++round) {
        const std::uint64_t product0 = std::uint64_t{kMultiplier0} * counter[0];
        const std::uint64_t product1 = std::uint64_t{kMultiplier1} * counter[2];
        counter = {high(product1) ^ counter[1] ^ key[0], low(product1),
                   high(product0) ^ counter[3] ^ key[1], low(product0)};
        key[0] += kWeyl0;
        key[1] += kWeyl1;
    }
    return counter;
}

double uniformDraw(std::uint64_t seed, std::uint64_t realisation, std::uint32_t parameter,
                   DrawPurpose purpose) {
    const auto words = philox4x32(
        {low(realisation), high(realisation), parameter, static_cast<std::uint32_t>(purpose)},
        {low(seed), high(seed)});
    // 27 + 26 bits, and half a step so that neither end of the interval is reached.
    const std::uint64_t bits = (std::uint64_t{words[0] >> 5} << 26) | (words[1] >> 6);
    return (double(bits) + 0.5) / 9007199254740992.0;  // 2^53
}

std::uint64_t permutedIndex(std::uint64_t index, std::uint64_t count, std::uint64_t seed,
                            std::uint32_t parameter) {
    int halfBits = 1;
    while (halfBits < 32 && (std::uint64_t{1} << (2 * halfBits)) < count) ++halfBits;
    const std::uint64_t mask = (std::uint64_t{1} << halfBits) - 1;
    std::uint64_t value = index;
    do {
        std::uint64_t left = value >> halfBits;
        std::uint64_t right = value & mask;
        for (std::uint32_t round = 0; round < 4; ++round) {
            const auto words =
                philox4x32({low(right), high(right), parameter,
                            static_cast<std::uint32_t>(DrawPurpose::Permutation) | (round << 8)},
                           {low(seed), high(seed)});
            const std::uint64_t mixed = (std::uint64_t{words[1]} << 32 | words[0]) & mask;
            const std::uint64_t next = left ^ mixed;
            left = right;
            right = next;
        }
        value = (left << halfBits) | right;
    } while (value >= count);
    return value;
}

}  // namespace dorvo
