// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>
#include <string>

#include "calc/search_edges.h"

namespace dorvo {

/// What the simplified Bishop method reads of one element of a circle.
struct BishopElement {
    double cosAlpha = 0.0;  // α at the element's base, from the downward vertical
    double sinAlpha = 0.0;
    double tanPhi = 0.0;
    double strength = 0.0;  // c·L·cosα + W2·tanφ: the resisting shear times mα
};

enum class BishopStatus {
    Solved,
    NoElements,        // the circle has no ordinary result to take its elements from
    NoDrivingMoment,   // MD ≤ 0: nothing to resist
    NoPositiveMAlpha,  // no F keeps every mα positive
    NoRoot,            // F = G(F) has no root where every mα is positive
    NotConverged,      // the root could not be narrowed to the tolerance
};

/// A root is accepted when a step changes it by less than this share of its value.
inline constexpr double kBishopTolerance = 1e-12;

/// Below this smallest mα the method is known to be unreliable (steep passive toes, steep
/// active ends), and every value is reported with a warning.
inline constexpr double kLowMAlpha = 0.2;

struct BishopSolution {
    BishopStatus status = BishopStatus::NoElements;
    double fs = 0.0;         // the root, only when solved
    double minMAlpha = 0.0;  // the smallest mα of the elements at the root, only when solved

    bool solved() const { return status == BishopStatus::Solved; }
    bool lowMAlpha() const { return solved() && minMAlpha < kLowMAlpha; }
};

/// Solves F = G(F), G(F) = R·Σ strength / mα / MD with mα = cosα + sinα·tanφ / F, by a
/// bracketed Newton method over the F at which every mα stays positive (above the largest
/// −sinα·tanφ / cosα). `guess`, such as the ordinary Fs, only speeds the search. Where two
/// roots exist the smaller is taken.
BishopSolution solveBishop(std::span<const BishopElement> elements, double radius,
                           double drivingMoment, double guess = 1.0);

/// The value with its smallest mα ("1.331 (smallest mα 0.134)"), or why there is none.
std::string bishopValueText(const BishopSolution& solution, int decimals, WarningLanguage language);

/// Why a circle has no Bishop value, or the warning of a low mα.
std::string describeBishop(const BishopSolution& solution, WarningLanguage language);

}  // namespace dorvo
