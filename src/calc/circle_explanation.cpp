// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/circle_explanation.h"

#include <cmath>

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

std::optional<double> bishopFactorOfSafety(const CircleExplanation& explanation) {
    const CircleOutcome& outcome = explanation.outcome;
    if (outcome.kind != OutcomeKind::Result || explanation.elements.empty()) return std::nullopt;
    const double driving = outcome.result.md;  // R·ΣW1·sinα + R·ΣW1·cosα·kh + Mf
    if (!(driving > 0.0)) return std::nullopt;
    const double r = outcome.result.r;
    double fs = outcome.result.fs < 9999.0 ? outcome.result.fs : 1.0;
    for (int iteration = 0; iteration < 200; ++iteration) {
        double resisting = 0.0;
        for (const ElementContribution& e : explanation.elements) {
            const double mAlpha = e.cosTheta + e.sinTheta * e.tanPhi / fs;
            if (!(mAlpha > 0.0)) return std::nullopt;
            resisting += (e.cohesion * e.arcLength * e.cosTheta + e.w2 * e.tanPhi) / mAlpha;
        }
        const double next = resisting * r / driving;
        if (!std::isfinite(next)) return std::nullopt;
        const bool settled = std::fabs(next - fs) < 1e-9 * std::max(1.0, fs);
        fs = next;
        if (settled) return fs;
    }
    return fs;
}

}  // namespace dorvo
