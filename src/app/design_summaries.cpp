// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/design_summaries.h"

#include "model/number_text.h"

namespace dorvo {

namespace {

std::string circleLine(const RestraintCircle& c, std::string_view unit) {
    return formatC("中心 (%.2f, %.2f)  半径 %.2f  Fs %.3f  MD %.2f  MR %.2f  P %.2f %.*s", c.rx,
                   c.ry, c.r, c.fs, c.md, c.mr, c.force + 0.0, int(unit.size()), unit.data());
}

std::string optionalBeta(const std::optional<double>& beta) {
    return beta ? formatC("%.3f", *beta) : std::string("―");
}

}  // namespace

std::string restraintSummary(const RestraintForce& force, std::string_view unit) {
    std::string text = formatC("計画安全率 Fsp %.2f   P = (Fsp・MD − MR) / R\n", force.plannedFs);
    if (force.governing) {
        text += "必要抑止力が最大の円: " + circleLine(*force.governing, unit) + "\n";
        if (force.governingEnds) {
            const CircleResult& e = *force.governingEnds;
            text += formatC("  すべり面の両端 P1 (%.2f, %.2f)  P2 (%.2f, %.2f)\n", e.p1x, e.p1y,
                            e.p2x, e.p2y);
        }
    } else {
        text += "すべての円が計画安全率に達しています（P = 0）\n";
    }
    if (force.critical) text += "最小安全率の円: " + circleLine(*force.critical, unit) + "\n";
    return text;
}

std::string_view backAnalysisRefusal(BackAnalysisStatus status) {
    switch (status) {
        case BackAnalysisStatus::Found:
            return {};
        case BackAnalysisStatus::NoSuchLayer:
            return "この層No.の層データがありません";
        case BackAnalysisStatus::NotEvaluated:
            return "この円には安全率がありません（地表を正しく切らない円、または層データのない層）";
        case BackAnalysisStatus::NotThroughLayer:
            return "すべり面がこの層を通りません";
        case BackAnalysisStatus::NoDrivingMoment:
            return "この円には滑動モーメントがありません";
    }
    return {};
}

std::string backAnalysisSummary(const BackAnalysis& a) {
    std::string text = formatC("円 中心 (%.2f, %.2f) 半径 %.2f   現在の安全率 Fs0 %.3f\n",
                               a.circle.rx, a.circle.ry, a.circle.r, a.targetFs);
    text +=
        formatC("層No.%d  Co %.2f  φ %.2f°  現在の Fs %.3f  抵抗モーメントに占める割合 %.1f %%\n",
                a.layerNo, a.currentCo, a.currentPhiDegrees, a.current.fs, a.share * 100.0);
    text += formatC("現在の φ での Co: %.2f\n", a.coAtCurrentPhi + 0.0);
    if (a.phiAtCurrentCo) {
        text += formatC("現在の Co での φ: %.2f°\n", *a.phiAtCurrentCo);
    } else {
        text += "現在の Co での φ: なし（0〜90° のどの角度でも Fs0 になりません）\n";
    }
    if (a.shareTooSmall()) {
        text += "注意: この層の抵抗モーメントの割合が 10 % 未満で、この円から強度は決まりません\n";
    }
    return text;
}

std::string sensitivitySummary(const Sensitivity& sensitivity, std::size_t parameters) {
    std::string text = sensitivity.plain
                           ? formatC("元の最小安全率 Fs %.3f  中心 (%.2f, %.2f) 半径 %.2f\n",
                                     sensitivity.plain->fs, sensitivity.plain->rx,
                                     sensitivity.plain->ry, sensitivity.plain->r)
                           : std::string("元の探索: 安全率のある円がありません\n");
    if (sensitivity.completed) {
        text += formatC("%zu 個のパラメータを 1 つずつ変えて探索しました\n", parameters);
    } else {
        text += formatC("中止: %zu 個のうち %zu 個のパラメータまで\n", parameters,
                        sensitivity.rows.size());
    }
    return text;
}

std::string probabilitySummary(const ProbabilitySummary& s, std::int64_t planned) {
    std::string text;
    if (s.realisations < planned) {
        text += formatC("中止: %lld 回のうち %lld 回まで\n", static_cast<long long>(planned),
                        static_cast<long long>(s.realisations));
    }
    text += formatC("Fs の平均 %.3f  標準偏差 %.3f  (%lld 回のうち Fs のあるもの %lld)\n", s.mean,
                    s.sd, static_cast<long long>(s.realisations), static_cast<long long>(s.withFs));
    text += formatC("破壊確率 P(Fs < 1) %.4f  95 %% 信頼区間 %.4f 〜 %.4f  (%lld 回)\n",
                    s.probabilityOfFailure, s.probabilityLow, s.probabilityHigh,
                    static_cast<long long>(s.failures));
    text += "信頼性指標 β 正規 " + optionalBeta(s.betaNormal) + "  対数正規 " +
            optionalBeta(s.betaLognormal) + "\n";
    return text;
}

}  // namespace dorvo
