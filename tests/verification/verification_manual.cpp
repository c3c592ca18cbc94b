// SPDX-License-Identifier: GPL-3.0-or-later
#include "verification/verification_manual.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "canvas_qt/page_export.h"
#include "model/line_io.h"
#include "model/number_text.h"
#include "render/page_setup.h"
#include "settings/font_slots.h"
#include "settings/margins_table.h"
#include "settings/program_settings.h"
#include "settings/working_files.h"
#include "verification/independent_slices.h"

namespace dorvo::verification {

namespace {

/// A signed number with a true minus sign, as printed text has it.
std::string signedText(const char* format, double value) {
    std::string text = formatC(format, value);
    if (!text.empty() && text[0] == '-') text.replace(0, 1, "−");
    return text;
}

std::string percentDifference(double published, double dorvo) {
    return signedText("%+.2f", (dorvo - published) / published * 100.0) + " %";
}

std::string toleranceText(const PublishedFs& published) {
    return formatC("%.1f %%", published.tolerance * 100.0);
}

std::string verdict(const VerificationCase& problem, const PublishedFs& published, double dorvo) {
    if (!problem.modelDifference.empty()) return "model differs";
    return withinTolerance(published, dorvo) ? "within" : "**outside**";
}

std::string circleText(const CircleResult& c) {
    return formatC("centre (%.2f, %.2f), radius %.2f", c.rx, c.ry, c.r);
}

/// The rows of one method: published, Dorvo, difference, tolerance.
void methodRow(std::ostream& out, const char* method, const VerificationCase& problem,
               const std::optional<PublishedFs>& published, std::optional<double> dorvo) {
    out << "| " << method << " | ";
    out << (published ? formatC("%.*f", published->decimals, published->value) : std::string("—"))
        << " | ";
    out << (dorvo ? formatC("%.4f", *dorvo) : std::string("none")) << " | ";
    if (published && dorvo) {
        out << percentDifference(published->value, *dorvo) << " | "
            << (problem.modelDifference.empty() ? toleranceText(*published) : std::string("—"))
            << " | " << verdict(problem, *published, *dorvo) << " |\n";
    } else {
        out << "— | — | — |\n";
    }
}

void summaryTable(std::ostream& out, const std::vector<ComputedCase>& cases) {
    out << "| problem | method | published | Dorvo | difference | tolerance | |\n";
    out << "|---|---|---|---|---|---|---|\n";
    for (const ComputedCase& c : cases) {
        const VerificationCase& p = *c.problem;
        const std::string link = "[" + p.title + "](#" + p.file + ")";
        if (p.ordinary) {
            out << "| " << link << " ";
            methodRow(out, "ordinary", p, p.ordinary, c.result.critical.fs);
        }
        if (p.bishop) {
            out << "| " << (p.ordinary ? std::string() : link) << " ";
            methodRow(out, "simplified Bishop", p, p.bishop, bishopValue(c.result));
        }
    }
}

void caseSection(std::ostream& out, const ComputedCase& c) {
    const VerificationCase& p = *c.problem;
    const CaseResult& r = c.result;
    out << "\n<a id=\"" << p.file << "\"></a>\n\n## " << p.title << "\n\n";
    out << "**Source.** " << p.source << "\n\n";
    out << "**As rebuilt** (`tests/data/verification/" << p.file << ".slw`). " << p.setting;
    if (!r.search.empty())
        out << " Search (from the project): " << r.search << ", in " << p.units << ".";
    out << "\n\n";
    if (!r.error.empty()) {
        out << "**Not computed:** " << r.error << "\n";
        return;
    }
    out << "![" << p.title << ": the section and the " << (r.circles > 1 ? "critical" : "given")
        << " circle, drawn by Dorvo](" << figureName(p) << ")\n\n";
    out << "| method | published | Dorvo | difference | tolerance | |\n";
    out << "|---|---|---|---|---|---|\n";
    methodRow(out, "ordinary (the method of the records)", p, p.ordinary, r.critical.fs);
    methodRow(out,
              r.bishopCritical ? "simplified Bishop (its own search, `calc --method bishop`)"
                               : "simplified Bishop (same circle)",
              p, p.bishop, bishopValue(r));
    out << "\n";
    if (r.circles > 1) {
        out << "Dorvo's critical circle (ordinary method, " << r.circles
            << " circles evaluated): " << circleText(r.critical)
            << formatC(", from (%.2f, %.2f) to (%.2f, %.2f). ", r.critical.p1x, r.critical.p1y,
                       r.critical.p2x, r.critical.p2y);
        if (r.bishopCritical) {
            out << "Its critical circle by the simplified Bishop method: "
                << circleText(*r.bishopCritical)
                << formatC(", Bishop Fs %.4f. ", r.bishopCritical->fs);
        }
        out << (r.bishop ? formatC("The Bishop Fs of the ordinary method's critical circle: %.4f. ",
                                   *r.bishop)
                         : std::string("The ordinary method's critical circle has no Bishop Fs. "));
        out << "Published critical circle: "
            << (p.publishedCircle.empty() ? std::string("none at hand") : p.publishedCircle)
            << ".\n";
        for (const std::string& warning : r.warnings) out << "\n- search: " << warning;
        if (!r.warnings.empty()) out << "\n";
    } else {
        out << "The given circle: " << circleText(r.critical) << ".\n";
    }
    if (!p.note.empty()) out << "\n" << p.note << "\n";
    if (!p.modelDifference.empty())
        out << "\n**Where the model differs.** " << p.modelDifference << "\n";
}

void fredlundKrahnBishop(std::ostream& out, const ComputedCase& fk) {
    const Section& section = fk.result.section;
    const CircleResult& c = fk.result.critical;
    const double published = fk.problem->bishop->value;
    const double dorvo = fk.result.bishop.value_or(0.0);
    const SliceValues fine = valuesBySlices(section, c.rx, c.ry, c.r, 2000);
    out << "\n## The Bishop value of Fredlund and Krahn's case 1\n\n";
    out << formatC(
        "Dorvo gives %.4f where the paper gives %.3f (%s). The element size is not the cause: "
        "vertical slices of equal width, each with its base angle at its middle, computed "
        "independently of Dorvo's angular elements, give on the same circle:\n\n",
        dorvo, published, percentDifference(published, dorvo).c_str());
    out << "| slices | ordinary | simplified Bishop |\n|---|---|---|\n";
    for (int slices : {10, 20, 2000, 20000}) {
        const SliceValues v = valuesBySlices(section, c.rx, c.ry, c.r, slices);
        out << formatC("| %d | %.4f | %.4f |\n", slices, v.ordinary, v.bishop);
    }
    out << formatC("| Dorvo's elements | %.4f | %.4f |\n", c.fs, dorvo);
    out << "\nCoarser slices lower both values, so no slicing of the paper's own can raise the "
           "Bishop value above the limit while its ordinary value stays at the limit, as the "
           "published "
        << formatC("%.3f", fk.problem->ordinary->value)
        << " does. The other candidates do not apply to this case: it has no seismic "
           "coefficient, no load and one soil, and its slip surface leaves the crest below the "
           "centre's height, so nothing is cut at the top. Nor does the iteration explain it: "
           "the map F ↦ G(F) of the simplified Bishop equation has a slope of "
        << formatC("%.3f", fine.bishopSlope)
        << " at its root here, so an iteration stopped early from the ordinary value stays "
           "below the root, and one started above it settles within "
        << formatC("%.4f", std::fabs(published - fine.bishop) * fine.bishopSlope)
        << " of the root one step after reaching the published value. The cause of the "
        << percentDifference(fine.bishop, published)
        << " of the published value is open; Dorvo reports the method's own value on this "
           "circle.\n";
}

/// The circle a problem's Bishop value belongs to: its Bishop search's, or the given one.
const CircleResult& bishopCircle(const CaseResult& result) {
    return result.bishopCritical ? *result.bishopCritical : result.critical;
}

void seismicLever(std::ostream& out, const std::vector<ComputedCase>& cases) {
    constexpr int kSlices = 2000;
    out << "\n## Where the seismic force acts\n\n";
    out << "Dorvo's driving moment takes the seismic force kh·W of an element at the element's "
           "base, with the lever R·cos α about the centre, and its simplified Bishop value keeps "
           "that moment. Most textbooks and programs take kh·W at the centroid of the slice, a "
           "shorter lever, which gives a larger factor of safety. On the simplified Bishop "
           "critical circle of each circular problem with a seismic coefficient, vertical "
           "slices computed independently of Dorvo ("
        << kSlices << " of them) give both:\n\n";
    out << "| problem | kh | published | Dorvo (kh at the base) | slices, kh at the base | "
           "slices, kh at the centroid | centroid against base |\n";
    out << "|---|---|---|---|---|---|---|\n";
    for (const ComputedCase& c : cases) {
        const CaseResult& r = c.result;
        const CircleResult& circle = bishopCircle(r);
        if (!r.error.empty() || !(r.section.kh > 0.0) || !(circle.p1x < circle.rx) ||
            !(circle.rx < circle.p2x)) {
            continue;
        }
        const double base =
            valuesBySlices(r.section, circle.rx, circle.ry, circle.r, kSlices, QuakeLever::Base)
                .bishop;
        const double centroid =
            valuesBySlices(r.section, circle.rx, circle.ry, circle.r, kSlices, QuakeLever::Centroid)
                .bishop;
        const std::optional<double> dorvo = bishopValue(r);
        const std::optional<PublishedFs>& published = c.problem->bishop;
        out << "| [" << c.problem->title << "](#" << c.problem->file << ") | "
            << formatC("%g", r.section.kh) << " | "
            << (published ? formatC("%.*f", published->decimals, published->value)
                          : std::string("—"))
            << " | " << (dorvo ? formatC("%.4f", *dorvo) : std::string("none")) << " | "
            << formatC("%.4f | %.4f | ", base, centroid) << percentDifference(base, centroid)
            << " |\n";
    }
    out << "\nOn the cohesionless pseudo-static problems above, whose slip surfaces lie parallel "
           "to the face, every element has the same lever and the two conventions agree. Dorvo "
           "keeps the base, the convention of its ordinary method and the safer of the two: its "
           "values on circular seismic problems lie below those computed with kh at the "
           "centroid.\n";
}

const char* const kIntroduction =
    "# Verification\n\n"
    "Engineers trust a slope program once it reproduces problems whose answers are published. "
    "Each problem below is rebuilt as a project under `tests/data/verification/` and computed "
    "by the test program `verification_tests`, which also writes this file and its figures: "
    "no number here is typed by hand. The test fails when a value leaves its tolerance or when "
    "this file differs from what the program writes; after a change that moves a number, "
    "rewrite both with\n\n"
    "```sh\n"
    "DORVO_WRITE_VERIFICATION=1 build/tests/verification_tests\n"
    "```\n\n"
    "Dorvo's ordinary method is the method of its records. The simplified Bishop value held "
    "against a published one is, for a search in soils with friction, the minimum of Dorvo's "
    "own Bishop search of the same grid, its circle given beside the ordinary method's; for a "
    "given circle, and where no soil has friction (the Bishop Fs of every circle is then its "
    "ordinary Fs), it is the value of the same circle. "
    "Where a problem publishes one value that both methods must reach (φ = 0, where the normal "
    "force plays no part, and closed-form solutions), both rows compare with it.\n\n"
    "Dorvo has no water table. Where a published problem's pore-water pressure is a ratio ru of "
    "the overburden or hydrostatic below a line, its rebuild carries it through γ2, the unit "
    "weight of the resisting terms: exactly for the simplified Bishop method, whose resisting "
    "term is (W − u·b)·tan φ′, but not for the ordinary method, so only Bishop values are held "
    "against such problems.\n\n";

const char* const kInternalConsistency =
    "\n## Internal consistency\n\n"
    "- **The element table adds up to the record.** For the bundled example's critical circle "
    "(centre cut above the exit, seismic coefficient 0.15), the sums of the element shares "
    "equal the record's MD, MC, MT − ME and MR to 0.005 "
    "(`CircleExplanation.ElementSharesAddUpToTheRecordOfTheCircle`).\n"
    "- **Bishop equals the ordinary method when φ = 0**, where the normal force plays no part "
    "(`CircleExplanation.BishopOfAFrictionlessSoilEqualsTheOrdinaryMethod`, to 10⁻⁹).\n"
    "- **An independent method of slices** with 0.5 mm vertical slices agrees with Dorvo's "
    "evaluation within 1 % on a homogeneous slope at three radii, a two-layer slope, a seismic "
    "coefficient of 0.15 and a crest load (`SlopePhysics.*`).\n";

}  // namespace

bool withinTolerance(const PublishedFs& published, double dorvo) {
    return std::fabs(dorvo - published.value) <= published.tolerance * published.value;
}

std::string figureName(const VerificationCase& problem) {
    return "verification-" + problem.file + ".png";
}

std::string manualText(const std::vector<ComputedCase>& cases) {
    std::ostringstream out;
    out << kIntroduction;
    out << "## Summary\n\n";
    summaryTable(out, cases);
    for (const ComputedCase& c : cases) caseSection(out, c);
    for (const ComputedCase& c : cases) {
        if (c.problem->file == "fredlund-krahn-case1") fredlundKrahnBishop(out, c);
    }
    seismicLever(out, cases);
    out << "\n## Published problems Dorvo's model cannot rebuild\n\n";
    out << "| problem | source | why |\n|---|---|---|\n";
    for (const UnbuiltProblem& p : unbuiltProblems())
        out << "| " << p.problem << " | " << p.source << " | " << p.reason << " |\n";
    out << kInternalConsistency;
    return out.str();
}

bool writeFigure(const Project& project, const std::filesystem::path& resultsFile,
                 const std::filesystem::path& png) {
    // A fine grid's minimum per centre would bury the section under numbers: the figure reads
    // the records with the critical centre's minimum only.
    const std::filesystem::path criticalOnly = resultsFile.parent_path() / "critical-only.tmp";
    const std::optional<std::vector<std::string>> read = readTextLines(resultsFile);
    if (!read) return false;
    const std::vector<std::string>& lines = *read;
    const auto answer = std::find(lines.begin(), lines.end(), "$$ANS");
    const std::string criticalMinimum =
        answer != lines.end() && answer + 1 != lines.end() ? *(answer + 1) : std::string();
    if (!writeFileAtomically(criticalOnly, [&](std::ostream& out) {
            for (const std::string& line : lines) {
                if (line.starts_with("055") && line != criticalMinimum) continue;
                out << line << "\r\n";
            }
            return static_cast<bool>(out);
        })) {
        return false;
    }
    const ProgramSettings settings = recommendedProgramSettings();
    const MarginsTable margins = defaultMarginsTable();
    const FontSlots fonts = defaultFontSlots();
    const std::optional<Paper> paper = paperNamed("A4", true);
    PageSetup setup = makePageSetup(figureWindowWithDefaults(project), settings, paper->widthMm(),
                                    paper->heightMm());
    PageState state;
    state.view = {ViewPage::Figure, 1, double(setup.figureLeftX), true};
    applyPaperDefaults(setup, state.view);
    // One page shows the whole window: the scale grows in steps of 1 : 50 until it fits.
    constexpr int kHeadingRoomMm = 20;
    while (pageMetresX(setup.scaleX, setup.paperWidthMm, setup.leftMarginMm) < setup.pageWidthM ||
           setup.pageDepthM * 1000.0 / setup.scaleY >
               setup.paperHeightMm - setup.topMarginMm - kHeadingRoomMm) {
        setup.scaleX += 50;
        setup.scaleY = setup.scaleX;
    }
    state.figure.annotate = true;
    const RenderInputs inputs{project, settings, margins, fonts, setup, criticalOnly, nullptr};
    return writePng(png, *paper, inputs, state, 100);
}

}  // namespace dorvo::verification
