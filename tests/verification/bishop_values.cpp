#include "verification/bishop_values.h"

#include "calc/circle_explanation.h"

namespace dorvo::verification {

std::optional<double> bishopOfCircle(const Section& section, const CircleResult& circle) {
    return bishopFactorOfSafety(explainCircle(section, circle.rx, circle.ry, circle.r));
}

}  // namespace dorvo::verification
