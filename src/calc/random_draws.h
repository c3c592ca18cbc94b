// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>

namespace dorvo {

/// The Philox4x32-10 counter-based generator (Salmon, Moraes, Dror and Shaw, "Parallel random
/// numbers: as easy as 1, 2, 3", SC 2011): ten rounds that scramble a 128-bit counter under a
/// 64-bit key. The same counter and key give the same four words on any machine and in any
/// order of calls, so a draw needs no state carried from the draws before it.
std::array<std::uint32_t, 4> philox4x32(std::array<std::uint32_t, 4> counter,
                                        std::array<std::uint32_t, 2> key);

/// What a draw is used for; part of the counter, so different uses never share a draw.
enum class DrawPurpose : std::uint32_t { Value = 0, Permutation = 1 };

/// A number uniform in (0, 1), never 0 or 1, for one realisation, one parameter and one
/// purpose under a seed: 53 bits of the first two Philox words of the counter
/// (realisation low, realisation high, parameter, purpose) keyed by the seed.
double uniformDraw(std::uint64_t seed, std::uint64_t realisation, std::uint32_t parameter,
                   DrawPurpose purpose);

/// The position of `index` in a random arrangement of 0 … count − 1 that depends only on the
/// seed, the parameter and the count: a four-round Feistel network on the smallest even
/// number of bits that holds the count, its round function a Philox draw, walked again while
/// it lands at or beyond the count. Different indices never share a position.
std::uint64_t permutedIndex(std::uint64_t index, std::uint64_t count, std::uint64_t seed,
                            std::uint32_t parameter);

}  // namespace dorvo
