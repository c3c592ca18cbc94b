// SPDX-License-Identifier: GPL-3.0-or-later
// Evaluates one circle on a random section: blocks of any width (zero and backwards too),
// crossing boundary lines, missing layers and extreme soil values. An evaluation must end,
// and what it reports must be finite. The stepped evaluation, where it settles, must agree
// with the direct one within its bounds and, where the search would take it, print the same.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdlib>

#include "calc/best_circle.h"
#include "calc/circle_evaluation.h"
#include "calc/result_records.h"

namespace {

class CheckedRecords : public dorvo::RecordWriter {
  public:
    void writeRecord(std::string_view record) override {
        if (record.find("nan") != record.npos || record.find("inf") != record.npos) std::abort();
    }
};

void checkStepped(const dorvo::Section& section, double rx, double ry, double r,
                  const dorvo::CircleOutcome& direct, dorvo::EvaluationScratch& scratch) {
    const dorvo::SteppedOutcome stepped =
        dorvo::evaluateCircleStepped(section, dorvo::sectionSizes(section), rx, ry, r, scratch);
    if (!stepped.settled) return;
    if (stepped.outcome.kind != direct.kind ||
        stepped.outcome.missingLayerNo != direct.missingLayerNo) {
        std::abort();
    }
    if (direct.kind != dorvo::OutcomeKind::Result) return;
    const dorvo::CircleResult& a = stepped.outcome.result;
    const dorvo::CircleResult& b = direct.result;
    const dorvo::OutcomeBounds& bound = stepped.bounds;
    if (!(std::fabs(a.md - b.md) <= bound.md && std::fabs(a.mc - b.mc) <= bound.mc &&
          std::fabs(a.mtMe - b.mtMe) <= bound.mtMe && std::fabs(a.mr - b.mr) <= bound.mr &&
          std::fabs(a.fs - b.fs) <= bound.fs)) {
        std::abort();
    }
    for (int decimals = 2; decimals <= 4; ++decimals) {
        if (dorvo::standsForDirect(stepped, decimals) &&
            dorvo::firstCircleRecord(a.rx, a.ry, a.r, a.md, a.mc, a.mtMe, a.mr, a.fs, decimals) !=
                dorvo::firstCircleRecord(b.rx, b.ry, b.r, b.md, b.mc, b.mtMe, b.mr, b.fs,
                                         decimals)) {
            std::abort();
        }
    }
}

double coordinate(FuzzedDataProvider& data) {
    return data.ConsumeFloatingPointInRange(-50.0, 150.0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    dorvo::Section section;
    const int layers = data.ConsumeIntegralInRange(0, 3);
    for (int i = 1; i <= layers; ++i) {
        dorvo::SoilLayer layer;
        layer.layerNo = i;
        layer.gamma1 = data.ConsumeFloatingPointInRange(0.0, 30.0);
        layer.gamma2 = data.ConsumeFloatingPointInRange(0.0, 30.0);
        layer.tanPhi = std::tan(data.ConsumeFloatingPointInRange(0.0, 90.0) * 0.01745327777777778);
        layer.co = data.ConsumeFloatingPointInRange(0.0, 100.0);
        layer.k = data.ConsumeFloatingPointInRange(0.0, 5.0);
        section.layers.push_back(layer);
    }
    const int blocks = data.ConsumeIntegralInRange(1, 6);
    double xl = 0.0;
    for (int b = 0; b < blocks; ++b) {
        dorvo::SectionBlock block;
        block.xl = xl;
        block.xr = xl + data.ConsumeFloatingPointInRange(-5.0, 40.0);
        block.lineCount = data.ConsumeIntegralInRange(0, 4);
        for (int i = 1; i <= block.lineCount; ++i) {
            dorvo::SectionLine& line = block.lines[static_cast<std::size_t>(i)];
            line.yLeft = data.ConsumeFloatingPointInRange(0.0, 40.0);
            line.yRight = data.ConsumeFloatingPointInRange(0.0, 40.0);
            line.layerNo = data.ConsumeIntegralInRange(1, 4);
            line.layer = line.layerNo <= layers ? line.layerNo - 1 : dorvo::kMissingLayer;
        }
        for (dorvo::SectionLine& line : block.lines) {
            line.m = (line.yRight - line.yLeft) / (block.xr - block.xl);
            line.c = line.yLeft - line.m * block.xl;
        }
        section.blocks.push_back(block);
        xl = block.xr;
    }
    section.kh = data.ConsumeFloatingPointInRange(0.0, 0.5);
    section.yc = data.ConsumeFloatingPointInRange(-10.0, 40.0);
    section.loadLayerNo = data.ConsumeIntegralInRange(0, 4);
    section.loads.push_back({coordinate(data), data.ConsumeFloatingPointInRange(-100.0, 100.0)});

    const double rx = coordinate(data);
    const double ry = data.ConsumeFloatingPointInRange(0.0, 80.0);
    const double r = data.ConsumeFloatingPointInRange(0.0, ry);
    if (ry - r < 0.00001 || r < 0.00001) return 0;

    CheckedRecords records;
    dorvo::EvaluationScratch scratch;
    dorvo::CircleOutcome outcome = dorvo::evaluateCircle(section, rx, ry, r, records, scratch);
    if (outcome.kind == dorvo::OutcomeKind::Result) {
        const dorvo::CircleResult& c = outcome.result;
        for (double value : {c.md, c.mc, c.mtMe, c.mr, c.fs, c.p1x, c.p1y, c.p2x, c.p2y}) {
            if (!std::isfinite(value)) std::abort();
        }
    }
    checkStepped(section, rx, ry, r, outcome, scratch);
    return 0;
}
