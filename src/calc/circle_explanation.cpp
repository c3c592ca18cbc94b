// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/circle_explanation.h"

namespace dorvo {

namespace {

class KeepElements : public ElementObserver, public RecordWriter {
  public:
    explicit KeepElements(CircleExplanation& explanation) : explanation_(explanation) {}
    void element(const ElementContribution& element) override {
        explanation_.elements.push_back(element);
    }
    void writeRecord(std::string_view record) override {
        explanation_.records.emplace_back(record);
    }

  private:
    CircleExplanation& explanation_;
};

}  // namespace

CircleExplanation explainCircle(const Section& section, double rx, double ry, double r) {
    CircleExplanation explanation;
    KeepElements keep(explanation);
    EvaluationScratch scratch;
    explanation.outcome = evaluateCircle(section, rx, ry, r, keep, scratch, &keep);
    if (explanation.outcome.kind == OutcomeKind::Result) {
        const CircleResult& c = explanation.outcome.result;
        for (const ConcentratedForce& load : section.loads) {
            if (c.p1x <= load.x && load.x <= c.p2x) explanation.mf += load.force * (load.x - rx);
        }
    }
    return explanation;
}

std::vector<BishopElement> bishopElements(const CircleExplanation& explanation) {
    std::vector<BishopElement> elements;
    elements.reserve(explanation.elements.size());
    for (const ElementContribution& e : explanation.elements) {
        elements.push_back({e.cosTheta, e.sinTheta, e.tanPhi,
                            e.cohesion * e.arcLength * e.cosTheta + e.w2 * e.tanPhi});
    }
    return elements;
}

BishopSolution bishopFactorOfSafety(const CircleExplanation& explanation) {
    const CircleOutcome& outcome = explanation.outcome;
    if (outcome.kind != OutcomeKind::Result) return {BishopStatus::NoElements};
    const CircleResult& c = outcome.result;
    // MD = R·ΣW1·sinα + R·ΣW1·cosα·kh + Mf, the ordinary method's driving moment.
    return solveBishop(bishopElements(explanation), c.r, c.md, c.fs < 9999.0 ? c.fs : 1.0);
}

}  // namespace dorvo
