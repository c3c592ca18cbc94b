// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace dorvo::verification {

/// A published value and how far Dorvo may lie from it, as a fraction of the value.
struct PublishedFs {
    double value = 0.0;
    double tolerance = 0.0;
    int decimals = 3;  // as published
};

/// A published slope problem rebuilt as a project under tests/data/verification/.
struct VerificationCase {
    std::string file;   // the project's file name without ".slw"
    std::string title;  // the heading in the manual
    std::string source;
    std::string setting;           // the section, the soil and the circle or search, as rebuilt
    std::string units = "metres";  // of the project's coordinates
    std::optional<PublishedFs> ordinary;
    std::optional<PublishedFs> bishop;
    std::string publishedCircle;  // the published critical circle, when there is one
    std::string note;             // what the reader should know about the comparison
    /// Why the model cannot rebuild the problem exactly; such a case is computed and shown,
    /// its difference explained rather than held to a tolerance.
    std::string modelDifference;
};

/// Every problem of the manual, in its order.
const std::vector<VerificationCase>& verificationCases();

/// Published problems that the model cannot rebuild, with the reason, for the manual.
struct UnbuiltProblem {
    std::string problem;
    std::string source;
    std::string reason;
};

const std::vector<UnbuiltProblem>& unbuiltProblems();

}  // namespace dorvo::verification
