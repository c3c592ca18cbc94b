// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/bishop_method.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/number_text.h"

namespace dorvo {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr int kMaxNewtonSteps = 200;
constexpr int kScanPoints = 4000;

/// q(F) = G(F)/F − 1 = (R/MD)·Σ strength / (F·cosα + sinα·tanφ) − 1, which has the sign of
/// G(F) − F for F > 0, and its slope.
struct Balance {
    double q = 0.0;
    double slope = 0.0;
};

class BishopEquation {
  public:
    BishopEquation(std::span<const BishopElement> elements, double scale)
        : elements_(elements), scale_(scale) {}

    Balance at(double f) const {
        double sum = 0.0;
        double slope = 0.0;
        for (const BishopElement& e : elements_) {
            const double denominator = f * e.cosAlpha + e.sinAlpha * e.tanPhi;
            const double term = e.strength / denominator;
            sum += term;
            slope -= term * e.cosAlpha / denominator;
        }
        return {scale_ * sum - 1.0, scale_ * slope};
    }

    /// q as F grows without bound: only elements with cosα = 0 keep a share.
    double atInfinity() const {
        double sum = 0.0;
        for (const BishopElement& e : elements_) {
            if (e.cosAlpha == 0.0) sum += e.strength / (e.sinAlpha * e.tanPhi);
        }
        return scale_ * sum - 1.0;
    }

    double minMAlpha(double f) const {
        double smallest = kInfinity;
        for (const BishopElement& e : elements_) {
            smallest = std::min(smallest, e.cosAlpha + e.sinAlpha * e.tanPhi / f);
        }
        return smallest;
    }

  private:
    std::span<const BishopElement> elements_;
    double scale_;
};

/// The open interval of F over which every mα is positive; empty when there is none.
struct Admissible {
    double lower = 0.0;
    double upper = kInfinity;
    bool empty = false;
    // Every share of q falls as F grows (cosα ≥ 0 and strength ≥ 0): q then falls from its
    // value at `lower` to its value at infinity and has at most one root.
    bool falling = true;
};

Admissible admissibleRange(std::span<const BishopElement> elements) {
    Admissible range;
    for (const BishopElement& e : elements) {
        const double b = e.sinAlpha * e.tanPhi;
        if (e.cosAlpha > 0.0) {
            range.lower = std::max(range.lower, -b / e.cosAlpha);
        } else if (e.cosAlpha < 0.0) {
            range.upper = std::min(range.upper, b / -e.cosAlpha);
            range.falling = false;
        } else if (!(b > 0.0)) {
            range.empty = true;
        }
        if (!(e.strength >= 0.0)) range.falling = false;
    }
    range.empty = range.empty || !(range.lower < range.upper);
    return range;
}

/// The first F just inside the lower end of the range, where q can be evaluated.
double justAbove(double lower) {
    return lower > 0.0 ? lower * (1.0 + 1e-13) : 1e-12;
}

BishopSolution solvedAt(const BishopEquation& equation, double f) {
    return {BishopStatus::Solved, f, equation.minMAlpha(f)};
}

/// Newton's method kept inside a bracket that always holds the root. q falls and is convex,
/// so a step from the left never passes the root; a step out of the bracket bisects it.
BishopSolution fallingRoot(const BishopEquation& equation, const Admissible& range, double guess) {
    double lo = justAbove(range.lower);
    if (!(equation.at(lo).q > 0.0)) return {BishopStatus::NoRoot};
    if (!(equation.atInfinity() < 0.0)) return {BishopStatus::NoRoot};
    double hi = kInfinity;
    double f = guess > lo && std::isfinite(guess) ? guess : lo + std::max(1.0, range.lower);
    for (int step = 0; step < kMaxNewtonSteps; ++step) {
        const Balance balance = equation.at(f);
        if (balance.q == 0.0) return solvedAt(equation, f);
        (balance.q > 0.0 ? lo : hi) = f;
        double next = f - balance.q / balance.slope;
        if (!(next > lo && next < hi)) next = std::isfinite(hi) ? lo + 0.5 * (hi - lo) : 2.0 * f;
        if (std::fabs(next - f) <= kBishopTolerance * next || hi - lo <= kBishopTolerance * lo) {
            return solvedAt(equation, next);
        }
        f = next;
    }
    return {BishopStatus::NotConverged};
}

/// Any other set of elements: the first change of sign of q on a scan of the range, from
/// its lower end, narrowed by bisection.
BishopSolution firstRoot(const BishopEquation& equation, const Admissible& range) {
    const double from = justAbove(range.lower);
    const double to = std::isfinite(range.upper) ? range.upper * (1.0 - 1e-13)
                                                 : from + 1e6 * std::max(1.0, range.lower);
    const double spread = std::log1p((to - from) / from);
    double previousF = from;
    double previousQ = equation.at(from).q;
    for (int k = 1; k <= kScanPoints; ++k) {
        const double f = from * std::exp(spread * double(k) / kScanPoints);
        const double q = equation.at(f).q;
        if (q == 0.0) return solvedAt(equation, f);
        if ((q > 0.0) != (previousQ > 0.0)) {
            double lo = previousF;
            double hi = f;
            const bool risingAtRoot = q > 0.0;
            while (hi - lo > kBishopTolerance * lo) {
                const double mid = lo + 0.5 * (hi - lo);
                if (mid <= lo || mid >= hi) break;
                ((equation.at(mid).q > 0.0) == risingAtRoot ? hi : lo) = mid;
            }
            return solvedAt(equation, lo + 0.5 * (hi - lo));
        }
        previousF = f;
        previousQ = q;
    }
    return {BishopStatus::NoRoot};
}

}  // namespace

BishopSolution solveBishop(std::span<const BishopElement> elements, double radius,
                           double drivingMoment, double guess) {
    if (elements.empty()) return {BishopStatus::NoElements};
    if (!(drivingMoment > 0.0) || !std::isfinite(drivingMoment)) {
        return {BishopStatus::NoDrivingMoment};
    }
    const Admissible range = admissibleRange(elements);
    if (range.empty) return {BishopStatus::NoPositiveMAlpha};
    const BishopEquation equation(elements, radius / drivingMoment);
    return range.falling ? fallingRoot(equation, range, guess) : firstRoot(equation, range);
}

std::string bishopValueText(const BishopSolution& solution, int decimals,
                            WarningLanguage language) {
    if (!solution.solved()) return describeBishop(solution, language);
    return formatC(
        language == WarningLanguage::English ? "%.*f (smallest mα %.3f)" : "%.*f (最小mα %.3f)",
        decimals, solution.fs, solution.minMAlpha);
}

std::string describeBishop(const BishopSolution& solution, WarningLanguage language) {
    const bool english = language == WarningLanguage::English;
    switch (solution.status) {
        case BishopStatus::Solved:
            if (!solution.lowMAlpha()) return {};
            return english ? formatC(
                                 "smallest mα %.3f is below %.1f: the simplified Bishop "
                                 "value is unreliable on this circle (steep toe or steep "
                                 "end)",
                                 solution.minMAlpha, kLowMAlpha)
                           : formatC(
                                 "最小mα = %.3f (%.1f未満): この円の簡易ビショップ法の値は"
                                 "信頼できません（急な末端）",
                                 solution.minMAlpha, kLowMAlpha);
        case BishopStatus::NoElements:
            return english ? "no solution: the circle has no factor of safety to start from"
                           : "解なし: この円には安全率がありません";
        case BishopStatus::NoDrivingMoment:
            return english ? "no solution: the driving moment is not positive"
                           : "解なし: 起動モーメントが正ではありません";
        case BishopStatus::NoPositiveMAlpha:
            return english ? "no solution: no factor of safety keeps every mα positive"
                           : "解なし: すべてのmαを正に保つ安全率がありません";
        case BishopStatus::NoRoot:
            return english ? "no solution: moment equilibrium has no root where every mα "
                             "is positive"
                           : "解なし: すべてのmαが正の範囲にモーメントのつり合いの解がありません";
        case BishopStatus::NotConverged:
            return english ? "no solution: the root could not be narrowed to its tolerance"
                           : "解なし: 解が許容誤差まで収束しません";
    }
    return {};
}

}  // namespace dorvo
