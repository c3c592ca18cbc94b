// SPDX-License-Identifier: GPL-3.0-or-later
#include "verification/verification_cases.h"

#include <cmath>

#include "model/number_text.h"

namespace dorvo::verification {

namespace {

const char* const kFredlundKrahn =
    "D. G. Fredlund and J. Krahn (1977), \"Comparison of slope stability methods of analysis\", "
    "*Canadian Geotechnical Journal* 14(3), 429–439: the example problem (case 1, simple 2 : 1 "
    "slope without pore-water pressure) and its table of factors of safety by method.";
const char* const kTaylor =
    "D. W. Taylor (1937), \"Stability of earth slopes\", *Journal of the Boston Society of Civil "
    "Engineers* 24(3), 197–246; the same stability numbers in D. W. Taylor (1948), *Fundamentals "
    "of Soil Mechanics*, Wiley, chapter 16 (stability numbers c / (F·γ·H) for φ = 0, toe "
    "circles).";
/// The ACADS study's citation for one of its problems.
std::string acadsSource(const char* problem) {
    return std::string(
               "I. B. Donald and P. Giam (1989), *Soil Slope Stability Programs Review*, ACADS "
               "publication U255, Association for Computer Aided Design, Melbourne; the referee "
               "answers in P. Giam and I. B. Donald (1989), *Example problems for testing soil "
               "slope stability programs*, Civil Engineering Research Report 8/1989, Monash "
               "University: problem ") +
           problem + ".";
}
const char* const kDuncanWright =
    "J. M. Duncan and S. G. Wright (2005), *Soil Strength and Slope Stability*, Wiley";
const char* const kAsUsuallyReproduced =
    " These are the coordinates the problem is usually reproduced with; the original was not at "
    "hand to check them.";
const char* const kTangentToBase =
    " The critical circle touches the firm base at y = 0, the deepest the search's circles go, "
    "which the search's warning on the radius reports.";
const char* const kInfiniteSlope =
    "The infinite-slope solution for a cohesionless soil, F = tan φ / tan β: D. W. Taylor (1948), "
    "*Fundamentals of Soil Mechanics*, Wiley, chapter 16 (infinite slopes).";
const char* const kPseudoStatic =
    "The pseudo-static solution of a planar slip surface parallel to the slope in a cohesionless "
    "soil, F = tan φ·(cos β − kh·sin β) / (sin β + kh·cos β): S. L. Kramer (1996), *Geotechnical "
    "Earthquake Engineering*, Prentice Hall, chapter 10 (pseudostatic analysis).";

/// Taylor's stability number N for φ = 0 as the factor of safety of the rebuilt slope: 10 m
/// high, γ = 20 kN/m³, c = 50 kN/m², so F = 50 / (20 · 10 · N).
VerificationCase taylorCase(int degrees, double stabilityNumber, double tolerance,
                            std::string difference) {
    const double fs = 50.0 / (20.0 * 10.0 * stabilityNumber);
    VerificationCase c;
    c.file = formatC("taylor-phi0-%d", degrees);
    c.title = formatC("Taylor's stability number, φ = 0, slope %d°", degrees);
    c.source = kTaylor;
    c.setting = formatC(
        "A slope of %d° and 10 m high in one soil with c = 50 kN/m², φ = 0, γ = 20 kN/m³; toe "
        "at (60, 10) m, level ground on both sides, base of the section at y = 0 (depth factor "
        "2, which does not change the toe circle of slopes steeper than 53°). Published N = %.3f, "
        "so F = c / (γ·H·N) = %.4f; with φ = 0 both methods give "
        "the same value.",
        degrees, stabilityNumber, fs);
    c.ordinary = PublishedFs{fs, tolerance, 4};
    c.bishop = PublishedFs{fs, tolerance, 4};
    c.modelDifference = std::move(difference);
    return c;
}

VerificationCase infiniteSlopeCase(const char* file, double phiDegrees, double run, double kh,
                                   double tolerance) {
    const double pi = std::acos(-1.0);
    const double tanBeta = 10.0 / run;
    const double beta = std::atan(tanBeta);
    const double tanPhi = std::tan(phiDegrees * pi / 180.0);
    const double fs =
        tanPhi * (std::cos(beta) - kh * std::sin(beta)) / (std::sin(beta) + kh * std::cos(beta));
    VerificationCase c;
    c.file = file;
    c.source = kh > 0.0 ? kPseudoStatic : kInfiniteSlope;
    c.title = kh > 0.0 ? formatC(
                             "Cohesionless slope with a seismic coefficient, φ = %.0f°, "
                             "%g : 10, kh = %.1f",
                             phiDegrees, run, kh)
                       : formatC("Cohesionless slope, φ = %.0f°, %g : 10", phiDegrees, run);
    c.setting = formatC(
        "A slope rising 10 m over %g m (β = %.2f°) from a toe at (20, 10) m, in one soil with "
        "c = 0, φ = %.0f°, γ = 19 kN/m³%s. Without cohesion the critical "
        "circle is the shallowest one, and both methods tend to F = %.4f as the circle flattens "
        "against the face.",
        run, beta * 180.0 / pi, phiDegrees,
        kh > 0.0 ? formatC(", horizontal seismic coefficient kh = %.1f", kh).c_str() : "", fs);
    c.ordinary = PublishedFs{fs, tolerance, 4};
    c.bishop = PublishedFs{fs, tolerance, 4};
    if (kh > 0.0) {
        c.note =
            "Dorvo applies kh·W at the element's base (lever R·cos α); on a slip surface parallel "
            "to the face every lever is the same, so this convention and the textbooks' "
            "(kh·W at the slice's centroid) give the same F here.";
    }
    return c;
}

/// Taylor's φ = 0 slope flatter than 53° over a deep base, where the critical circle is a
/// midpoint circle and N tends to 0.181 as the depth grows.
VerificationCase taylorDeepCase(int degrees) {
    const double fs = 50.0 / (20.0 * 10.0 * 0.181);
    VerificationCase c;
    c.file = formatC("taylor-phi0-%d-deep", degrees);
    c.title = formatC("Taylor's stability number, φ = 0, slope %d° over a deep base", degrees);
    c.source = kTaylor;
    c.setting = formatC(
        "A slope of %d° and 10 m high in one soil with c = 50 kN/m², φ = 0, γ = 20 kN/m³; toe "
        "at (150, 60) m, base of the section at y = 0 (depth factor 7). Below 53° the critical "
        "circle is a midpoint circle reaching as deep as the "
        "soil goes, and N tends to 0.181 as the depth factor grows, so F = %.4f.",
        degrees, fs);
    c.ordinary = PublishedFs{fs, 0.01, 4};
    c.bishop = PublishedFs{fs, 0.01, 4};
    c.note =
        "The section's finite depth lowers N a little below the value of an unbounded depth, "
        "which raises Dorvo's F; the tolerance covers it at this depth.";
    return c;
}

/// A strip load on level ground of φ = 0 soil, the circle centred at the load's edge: the
/// soil's own weight has no moment about the centre, and F = 2π·c / q.
VerificationCase stripLoadCase() {
    const double pi = std::acos(-1.0);
    const double fs = 2.0 * pi * 50.0 / 100.0;
    VerificationCase c;
    c.file = "strip-load-circle-at-edge";
    c.title = "Strip load on φ = 0 soil, circle centred at the load's edge";
    c.source =
        "The upper-bound mechanism of a circular slip surface centred at the edge of a strip "
        "load on undrained soil, q = 2π·s_u: J. H. Atkinson (2007), *The Mechanics of Soils "
        "and Foundations*, 2nd ed., Taylor & Francis, the chapter on the bearing capacity of "
        "foundations by upper-bound mechanisms. A closed form: the half disc of soil has no "
        "moment about the centre, so F = c·π·R·R / (q·B·B/2).";
    c.setting = formatC(
        "Level ground at y = 20 m in one soil with c = 50 kN/m², φ = 0, γ = 18 kN/m³; a strip "
        "load q = 100 kN/m² over B = 10 m from x = 30 m, given as its resultant of 1,000 kN/m "
        "at x = 35 m (one concentrated load: for φ = 0 only its moment counts). One given "
        "circle: centre (30, 20.001) m, radius 10 m; the centre lies 1 mm above the ground "
        "because Dorvo skips a circle whose slip surface starts at its centre's height. "
        "F = 2π·c / q = %.4f for both methods.",
        fs);
    c.ordinary = PublishedFs{fs, 0.005, 4};
    c.bishop = PublishedFs{fs, 0.005, 4};
    return c;
}

/// The strip load's mechanism with the cohesion growing with depth below the ground,
/// c = c0 + k·Z: the half circle's cohesion moment is π·c0·R² + 2·k·R³.
VerificationCase cohesionWithDepthCase() {
    const double pi = std::acos(-1.0);
    const double radius = 10.0;
    const double fs = (pi * 20.0 * radius * radius + 2.0 * 3.0 * radius * radius * radius) /
                      (100.0 * 10.0 * 10.0 / 2.0);
    VerificationCase c = stripLoadCase();
    c.file = "strip-load-cohesion-with-depth";
    c.title = "Strip load on soil whose cohesion grows with depth";
    c.source =
        "The mechanism of the previous problem, J. H. Atkinson (2007) as cited there, with an "
        "undrained strength growing linearly with depth: a closed form, F = (π·c0·R² + "
        "2·k·R³) / (q·B²/2), the cohesion integrated along the half circle.";
    c.setting = formatC(
        "As the previous problem, with c = c0 + k·Z, c0 = 20 kN/m², k = 3 kN/m² per metre and "
        "Z the depth below the reference plane Yc = 20 m, the ground. F = %.4f for both "
        "methods.",
        fs);
    c.ordinary = PublishedFs{fs, 0.005, 4};
    c.bishop = PublishedFs{fs, 0.005, 4};
    return c;
}

/// The strip load's mechanism across a horizontal boundary between two clays: the arc above
/// the boundary subtends 2·asin(d / R), and each soil's weight is still symmetric about the
/// centre.
VerificationCase twoClaysCase() {
    const double pi = std::acos(-1.0);
    const double radius = 10.0;
    const double upperArc = 2.0 * radius * std::asin(5.0 / radius);
    const double lowerArc = pi * radius - upperArc;
    const double fs = radius * (60.0 * upperArc + 30.0 * lowerArc) / (100.0 * 10.0 * 10.0 / 2.0);
    VerificationCase c = stripLoadCase();
    c.file = "strip-load-two-clays";
    c.title = "Strip load on two clay layers";
    c.source =
        "The mechanism of the strip-load problem, J. H. Atkinson (2007) as cited there, across "
        "a horizontal boundary between two clays: a closed form, F = R·(c1·L1 + c2·L2) / "
        "(q·B²/2) with L1 = 2·R·asin(d / R) the arc above the boundary at depth d and L2 = "
        "π·R − L1.";
    c.setting = formatC(
        "As the strip-load problem, with an upper clay c1 = 60 kN/m², γ = 17 kN/m³ down to "
        "y = 15 m (d = 5 m) over a lower clay c2 = 30 kN/m², γ = 19 kN/m³, φ = 0 in both. "
        "F = %.4f for both methods.",
        fs);
    c.ordinary = PublishedFs{fs, 0.005, 4};
    c.bishop = PublishedFs{fs, 0.005, 4};
    return c;
}

std::vector<VerificationCase> makeCases() {
    std::vector<VerificationCase> cases;

    VerificationCase fk;
    fk.file = "fredlund-krahn-case1";
    fk.title = "Fredlund and Krahn (1977), case 1";
    fk.source = kFredlundKrahn;
    fk.setting =
        "A 2 : 1 slope 40 ft high in one soil with c′ = 600 psf, φ′ = 20°, γ = 120 pcf and no "
        "pore-water pressure: ground at y = 20 ft up to the toe at x = 100 ft, rising 1 in 2 to "
        "the crest at (180, 60) ft, then level; base of the section at y = 0. One given circle: "
        "centre (120, 90) ft, radius 80 ft (lowest point at y = 10 ft). Units ft, psf and pcf: "
        "the method needs only consistent units.";
    fk.ordinary = PublishedFs{1.928, 0.005};
    fk.bishop = PublishedFs{2.080, 0.005};
    fk.note =
        "The Bishop difference is discussed below, under \"The Bishop value of Fredlund and "
        "Krahn's case 1\".";
    cases.push_back(fk);

    cases.push_back(taylorCase(53, 0.181, 0.01, ""));
    cases.push_back(taylorCase(60, 0.191, 0.01, ""));
    cases.push_back(taylorDeepCase(45));
    cases.push_back(taylorDeepCase(30));
    const std::string steep =
        "On slopes this steep Taylor's critical toe circle rises above its centre at the crest. "
        "Dorvo cuts every slip surface at the height of its centre and weighs the soil above as "
        "load without strength (the rule of the calculation dialog's picture), so the circle "
        "cannot be rebuilt: with centres above the crest, as searched here, Dorvo's minimum lies "
        "above Taylor's; centres below the crest give smaller, cut circles whose Fs is lower "
        "still and not comparable.";
    cases.push_back(taylorCase(75, 0.219, 0.0, steep));
    cases.push_back(taylorCase(90, 0.261, 0.0, steep));

    VerificationCase fkRu = fk;
    fkRu.file = "fredlund-krahn-case1-ru";
    fkRu.title = "Fredlund and Krahn (1977), case 1 with ru = 0.25";
    fkRu.source =
        "D. G. Fredlund and J. Krahn (1977), \"Comparison of slope stability methods of "
        "analysis\", *Canadian Geotechnical Journal* 14(3), 429–439: the slope and circle of "
        "case 1 with a pore-water pressure ratio ru = 0.25, in the table of factors of safety by "
        "method.";
    fkRu.setting =
        "The section and the given circle of case 1. The pore-water pressure u = ru·γ·h lowers "
        "each column's weight in the resisting terms to (1 − ru)·W, which is Dorvo's W2: "
        "γ2 = 0.75 × 120 = 90 pcf, while W1 keeps γ1 = 120 pcf.";
    fkRu.ordinary.reset();
    fkRu.bishop = PublishedFs{1.766, 0.005};
    fkRu.note =
        "The simplified Bishop method takes the pore pressure as (W − u·b)·tan φ′ = W2·tan φ′, "
        "so γ2 rebuilds ru exactly for it. The paper's ordinary-method value, 1.607, subtracts "
        "u·l = ru·W / cos α from W·cos α; Dorvo's ordinary method takes W2·cos α, which "
        "subtracts ru·W·cos α, so its ordinary value is shown but not held against the paper's.";
    cases.push_back(fkRu);

    VerificationCase yamagamiUeta;
    yamagamiUeta.file = "yamagami-ueta-1988";
    yamagamiUeta.title = "Yamagami and Ueta (1988): homogeneous slope";
    yamagamiUeta.source =
        "T. Yamagami and Y. Ueta (1988), \"Search for noncircular slip surfaces by the "
        "Morgenstern–Price method\", *Numerical Methods in Geomechanics* (Proc. 6th "
        "International Conference, Innsbruck), Balkema, 1335–1340: the homogeneous slope and its "
        "minimum factors of safety over circular slip surfaces by the ordinary and the "
        "simplified Bishop methods.";
    yamagamiUeta.setting =
        std::string(
            "A 2 : 1 slope 5 m high in one soil with c′ = 9.8 kN/m², φ′ = 10°, γ = 17.64 kN/m³, "
            "no pore-water pressure: ground at y = 5 m up to the toe at x = 15 m, rising to the "
            "crest at (25, 10) m, then level to x = 45 m; firm base at y = 0. The problem's "
            "section shifted 10 m to the right and its ground extended on both sides, so that "
            "no circle of the search runs out of the section.") +
        kAsUsuallyReproduced;
    yamagamiUeta.ordinary = PublishedFs{1.282, 0.01};
    yamagamiUeta.bishop = PublishedFs{1.348, 0.01};
    cases.push_back(yamagamiUeta);

    VerificationCase acads;
    acads.file = "acads-1a";
    acads.title = "ACADS study, problem 1(a): homogeneous slope";
    acads.source = acadsSource("1(a)");
    acads.setting =
        "A 2 : 1 slope 10 m high in one soil with c′ = 3.0 kN/m², φ′ = 19.6°, γ = 20 kN/m³, no "
        "pore-water pressure: ground at y = 25 m up to the toe at x = 30 m, rising to the crest "
        "at (50, 35) m, then level to x = 70 m; firm base at y = 20 m (the search's lowest "
        "slip-surface elevation). These are the coordinates the problem is usually reproduced "
        "with; the report itself was not at hand to check them.";
    acads.bishop = PublishedFs{1.00, 0.02, 2};
    acads.note =
        "The referee value 1.00 is given to two decimals, hence the 2 % tolerance; the study "
        "publishes no ordinary-method value. The ordinary method ignores the side forces and is "
        "known to lie a few per cent below the rigorous methods on such slopes.";
    cases.push_back(acads);

    VerificationCase acads1c;
    acads1c.file = "acads-1c";
    acads1c.title = "ACADS study, problem 1(c): the slope in three soils";
    acads1c.source = acadsSource("1(c)");
    acads1c.setting =
        std::string(
            "The slope of problem 1(a) in three soils with γ = 19.5 kN/m³ and no pore-water "
            "pressure: soil 1 (c′ = 0, φ′ = 38°) from the ground down to the line (30, 25)–"
            "(50, 29)–(54, 31)–(70, 31) m; soil 2 (c′ = 5.3 kN/m², φ′ = 23°) below it down to "
            "the line (30, 25)–(40, 27)–(52, 24)–(70, 24) m, pinching out left of x = 40 m; "
            "soil 3 (c′ = 7.2 kN/m², φ′ = 20°) below; firm base at y = 20 m (the search's "
            "lowest slip-surface elevation).") +
        kAsUsuallyReproduced;
    acads1c.bishop = PublishedFs{1.39, 0.02, 2};
    acads1c.note =
        "The referee value is given to two decimals, hence the 2 % tolerance; the study "
        "publishes no ordinary-method value.";
    cases.push_back(acads1c);

    VerificationCase acads1d = acads1c;
    acads1d.file = "acads-1d";
    acads1d.title = "ACADS study, problem 1(d): the slope in three soils with kh = 0.15";
    acads1d.source = acadsSource("1(d)");
    acads1d.setting =
        "Problem 1(c) with a horizontal seismic coefficient kh = 0.15 (the same section, soils "
        "and search).";
    acads1d.bishop = PublishedFs{1.00, 0.02, 2};
    acads1d.note.clear();
    acads1d.modelDifference =
        "Dorvo applies the seismic force kh·W at each element's base, with the lever R·cos α "
        "about the centre; the textbooks and most programs apply it at the slice's centroid, a "
        "shorter lever. Computed with kh·W at the centroids instead, the same circle comes "
        "within the referee value's 2 % (see \"Where the seismic force acts\" below), so the "
        "difference is the convention's.";
    cases.push_back(acads1d);

    VerificationCase araiTagyo;
    araiTagyo.file = "arai-tagyo-1985-ex2";
    araiTagyo.title = "Arai and Tagyo (1985), example 2: a slope with a weak band";
    araiTagyo.source =
        "K. Arai and K. Tagyo (1985), \"Determination of noncircular slip surface giving the "
        "minimum factor of safety in slope stability analysis\", *Soils and Foundations* "
        "25(1), 43–51: example 2 and its minimum simplified Bishop factor of safety over "
        "circular slip surfaces.";
    araiTagyo.setting =
        std::string(
            "Ground at y = 15 m up to the toe at x = 18 m, rising 2 in 3 to the crest at "
            "(48, 35) m, then level to x = 96 m; γ = 18.82 kN/m³ throughout and no pore-water "
            "pressure. Upper soil (c′ = 29.4 kN/m², φ′ = 12°) between the face and the line "
            "(18, 15)–(24, 19)–(72, 35) m; a weak band (c′ = 9.8 kN/m², φ′ = 5°) below it down "
            "to the line from (0, 3) to (96, 35) m; a strong soil (c′ = 294 kN/m², φ′ = 40°) "
            "below that, down to the base at y = 0.") +
        kAsUsuallyReproduced;
    araiTagyo.bishop = PublishedFs{0.417, 0.01};
    cases.push_back(araiTagyo);

    VerificationCase low;
    low.file = "low-1989-three-clays";
    low.title = "Low (1989): a slope in three undrained clays";
    low.source =
        "B. K. Low (1989), \"Stability analysis of embankments on soft ground\", *Journal of "
        "Geotechnical Engineering* 115(2), 211–227: the slope in three undrained clays and its "
        "minimum factor of safety over circular slip surfaces.";
    low.setting =
        std::string(
            "Mirrored so that the slope rises to the right: ground at y = 8 m up to x = 22 m, "
            "rising to (26, 9) m and on to the crest at (40, 14) m, then level to x = 60 m. "
            "Upper clay c = 30 kN/m² from the ground down to the line (22, 8)–(26, 9)–(60, 9) "
            "m; middle clay c = 20 kN/m² below it down to y = 5 m; lower clay c = 150 kN/m² "
            "down to the base at y = 0; φ = 0 and γ = 18 kN/m³ in all three, so both methods "
            "give the same value.") +
        kAsUsuallyReproduced;
    low.ordinary = PublishedFs{1.44, 0.02, 2};
    low.bishop = PublishedFs{1.44, 0.02, 2};
    low.note = "The published value is given to two decimals, hence the 2 % tolerance.";
    cases.push_back(low);

    VerificationCase liLumb;
    liLumb.file = "li-lumb-1987-ru";
    liLumb.title = "Li and Lumb (1987): a slope with ru = 0.2";
    liLumb.source =
        "K. S. Li and P. Lumb (1987), \"Probabilistic design of slopes\", *Canadian "
        "Geotechnical Journal* 24(4), 520–535: the slope of their example; its minimum "
        "simplified Bishop factor of safety at the mean strengths as published by A. M. Hassan "
        "and T. F. Wolff (1999), \"Search algorithm for minimum reliability index of earth "
        "slopes\", *Journal of Geotechnical and Geoenvironmental Engineering* 125(4), 301–308.";
    liLumb.setting =
        std::string(
            "A 1 : 1 slope 10 m high in one soil with c′ = 18 kN/m², φ′ = 30°, γ = 18 kN/m³ and "
            "a pore-water pressure ratio ru = 0.2, carried as γ2 = (1 − ru)·γ = 14.4 kN/m³ (as "
            "in Fredlund and Krahn's case with ru): ground at y = 5 m up to the toe at x = 15 m, "
            "rising to the crest at (25, 15) m, then level to x = 40 m; firm base at y = 0. The "
            "problem's section shifted 10 m to the right, its ground extended on both sides.") +
        kAsUsuallyReproduced;
    liLumb.bishop = PublishedFs{1.334, 0.01};
    liLumb.note =
        "Only the simplified Bishop value is published; with ru, Dorvo's ordinary method "
        "differs from the textbooks' as explained under Fredlund and Krahn's case with ru.";
    cases.push_back(liLumb);

    VerificationCase dw712;
    dw712.file = "duncan-wright-7-12";
    dw712.title = "Duncan and Wright (2005), Fig. 7.12: a sand embankment on clay";
    dw712.source = std::string(kDuncanWright) +
                   ", chapter 7, Fig. 7.12: a sand embankment on a saturated clay foundation "
                   "and the factor of safety of its critical circle by the simplified Bishop "
                   "method.";
    dw712.setting =
        std::string(
            "Units ft, psf and pcf. A sand embankment 100 ft high (c = 0, φ = 40°, "
            "γ = 140 pcf) with 2 : 1 faces, its toes at (100, 50) and (600, 50) ft and its "
            "crest from (300, 150) to (400, 150) ft, on a saturated clay (c = 2500 psf, φ = 0, "
            "γ = 140 pcf) 50 ft thick over a firm base at y = 0; the search looks at the left "
            "face.") +
        kAsUsuallyReproduced;
    dw712.units = "feet";
    dw712.bishop = PublishedFs{1.22, 0.02, 2};
    dw712.note = std::string(
                     "The published value is given to two decimals, hence the 2 % "
                     "tolerance.") +
                 kTangentToBase;
    cases.push_back(dw712);

    VerificationCase dw144;
    dw144.file = "duncan-wright-14-4";
    dw144.title = "Duncan and Wright (2005), Fig. 14.4: an embankment on a clay foundation";
    dw144.source = std::string(kDuncanWright) +
                   ", chapter 14, Fig. 14.4: a cohesionless embankment on a clay foundation and "
                   "the factor of safety of its critical circle, tangent to the base of the "
                   "foundation.";
    dw144.setting =
        std::string(
            "Units ft, psf and pcf. An embankment (c = 0, φ = 30°, γ = 120 pcf) rising from "
            "the toe at (100, 20) ft to the crest at (138, 35) ft, level to x = 190 ft, on a "
            "clay foundation (c = 450 psf, φ = 0, γ = 120 pcf) 20 ft thick over a firm base at "
            "y = 0. The problem's section shifted 60 ft to the right and its foundation "
            "extended to the left, so that no circle of the search runs out of the section.") +
        kAsUsuallyReproduced;
    dw144.units = "feet";
    dw144.bishop = PublishedFs{1.40, 0.02, 2};
    dw144.note =
        "The published value is given to two decimals, hence the 2 % tolerance. The shallow "
        "circles of the cohesionless embankment tend to the infinite-slope value "
        "tan 30° / tan 21.5° = 1.46, above the deep circle's." +
        std::string(kTangentToBase);
    cases.push_back(dw144);

    VerificationCase dw147 = dw144;
    dw147.file = "duncan-wright-14-7";
    dw147.title = "Duncan and Wright (2005), Fig. 14.7: an embankment on a clay foundation";
    dw147.source = std::string(kDuncanWright) +
                   ", chapter 14, Fig. 14.7: an embankment on a clay foundation and the factor "
                   "of safety of its critical circle, tangent to the base of the foundation.";
    dw147.setting =
        std::string(
            "Units ft, psf and pcf. An embankment (c = 0, φ = 30°, γ = 124 pcf) rising from "
            "the toe at (35, 15) ft to the crest at (73, 34) ft, level to x = 128 ft, on a "
            "clay foundation (c = 500 psf, φ = 0, γ = 98 pcf) 15 ft thick over a firm base at "
            "y = 0.") +
        kAsUsuallyReproduced;
    dw147.bishop = PublishedFs{1.21, 0.02, 2};
    dw147.note = std::string(
                     "The published value is given to two decimals, hence the 2 % "
                     "tolerance.") +
                 kTangentToBase;
    cases.push_back(dw147);

    VerificationCase jamesBay;
    jamesBay.file = "james-bay-dyke";
    jamesBay.title = "The James Bay dyke: Duncan and Wright (2005), Fig. 7.16";
    jamesBay.source = std::string(kDuncanWright) +
                      ", chapter 7, Fig. 7.16: the James Bay dyke, a granular fill with a berm "
                      "on soft clays, and the factor of safety of its critical circle.";
    jamesBay.setting =
        std::string(
            "Mirrored so that the slope rises to the right and extended 80 m on the toe's side, "
            "so that no circle of the search runs out of the section: ground at y = 19 m up to "
            "the toe at x = 116 m, rising to the berm at (134, 25) m, level to (190, 25) m, "
            "rising to the crest at (208, 31) m, level to x = 265 m. Fill c′ = 0, φ′ = 30°, γ = 20 "
            "kN/m³ "
            "above y = 19 m; clay crust c = 41 kN/m², γ = 20 kN/m³ down to y = 15 m; marine "
            "clay c = 34.5 kN/m², γ = 18.8 kN/m³ down to y = 7 m; lacustrine clay "
            "c = 31.2 kN/m², γ = 20.3 kN/m³ down to the firm base at y = 0; φ = 0 in the "
            "clays.") +
        kAsUsuallyReproduced;
    jamesBay.bishop = PublishedFs{1.45, 0.02, 2};
    jamesBay.note = std::string(
                        "The published value is given to two decimals, hence the 2 % "
                        "tolerance.") +
                    kTangentToBase;
    cases.push_back(jamesBay);

    VerificationCase pockoskiDuncan;
    pockoskiDuncan.file = "pockoski-duncan-2000-slope1";
    pockoskiDuncan.title = "Pockoski and Duncan (2000), test slope 1: a slope with a water table";
    pockoskiDuncan.source =
        "M. Pockoski and J. M. Duncan (2000), *Comparison of Computer Programs for Analysis of "
        "Reinforced Slopes*, Center for Geotechnical Practice and Research, Virginia Tech: test "
        "slope 1, without reinforcement, and the minimum simplified Bishop factor of safety the "
        "programs compared there give for it.";
    pockoskiDuncan.setting =
        std::string(
            "Units ft, psf and pcf. A 2 : 1 slope 50 ft high in one soil with c′ = 300 psf, "
            "φ′ = 30°, γ = 120 pcf: ground at y = 25 ft up to the toe at x = 75 ft, rising to "
            "the crest at (175, 75) ft, then level to x = 245 ft; firm base at y = 0. The water "
            "table lies at the ground up to the toe and rises in a straight line to 10 ft below "
            "the crest, (175, 65) ft, then level. The pore-water pressure below it, "
            "u = γw·hw with γw = 62.4 pcf, is carried by a layer boundary along the table: "
            "below it the same soil with γ2 = γ − γw = 57.6 pcf, so that each column's W2 is "
            "W − u·b. The problem's section shifted 75 ft to the right and 75 ft down.") +
        kAsUsuallyReproduced;
    pockoskiDuncan.units = "feet";
    pockoskiDuncan.bishop = PublishedFs{1.29, 0.02, 2};
    pockoskiDuncan.note =
        "The published value is given to two decimals, hence the 2 % tolerance. The simplified "
        "Bishop method takes the pore pressure as (W − u·b)·tan φ′, which the layer of lower γ2 "
        "rebuilds exactly wherever the table lies above the slip surface; the ordinary method "
        "differs as explained under Fredlund and Krahn's case with ru.";
    cases.push_back(pockoskiDuncan);

    VerificationCase loukidis;
    loukidis.file = "loukidis-2003-kc";
    loukidis.title = "Loukidis, Bandini and Salgado (2003): a slope at its critical kh";
    loukidis.source =
        "D. Loukidis, P. Bandini and R. Salgado (2003), \"Stability of seismically loaded "
        "slopes using limit analysis\", *Géotechnique* 53(5), 463–479: example 1, a 3 : 1 "
        "slope whose critical seismic coefficient kh = 0.432 brings its factor of safety to "
        "1.000.";
    loukidis.setting =
        std::string(
            "A 3 : 1 slope 25 m high in one soil with c′ = 25 kN/m², φ′ = 30°, γ = 20 kN/m³, "
            "no pore-water pressure, kh = 0.432: ground at y = 25 m up to the toe at x = 50 m, "
            "rising to the crest at (125, 50) m, then level to x = 200 m; firm base at y = 0. "
            "The problem's section shifted 50 m to the right and 25 m up.") +
        kAsUsuallyReproduced;
    loukidis.bishop = PublishedFs{1.000, 0.0};
    loukidis.modelDifference =
        "The published value comes from a limit analysis, in which the seismic force acts on "
        "the soil as a body force, through its centroid. Dorvo applies kh·W at each element's "
        "base, with the longer lever R·cos α, so under a coefficient this large its factor of "
        "safety lies below 1. Computed with kh·W at the slices' centroids instead, the same "
        "circle comes within 1 % of the published value (see \"Where the seismic force acts\" "
        "below).";
    cases.push_back(loukidis);

    cases.push_back(infiniteSlopeCase("infinite-slope-phi30-2to1", 30.0, 20.0, 0.0, 0.005));
    cases.push_back(infiniteSlopeCase("infinite-slope-phi35-1.5to1", 35.0, 15.0, 0.0, 0.005));
    cases.push_back(infiniteSlopeCase("infinite-slope-phi40-1to1", 40.0, 10.0, 0.0, 0.005));
    cases.push_back(infiniteSlopeCase("infinite-slope-phi30-2to1-kh0.1", 30.0, 20.0, 0.1, 0.005));
    cases.push_back(infiniteSlopeCase("infinite-slope-phi35-1.5to1-kh0.2", 35.0, 15.0, 0.2, 0.005));

    VerificationCase twoSoils =
        infiniteSlopeCase("infinite-slope-two-soils", 28.0, 20.0, 0.0, 0.005);
    twoSoils.title = "Cohesionless slope in two soils, 20 : 10";
    twoSoils.setting =
        "A slope rising 10 m over 20 m from a toe at (20, 10) m; a horizontal boundary at "
        "y = 15 m with c = 0, φ = 36° below and c = 0, φ = 28° above, γ = 19 kN/m³ in both. "
        "The shallowest circles on the upper half of the face lie in the "
        "weaker soil, so both methods tend to its infinite-slope value tan 28° / tan β.";
    cases.push_back(twoSoils);
    cases.push_back(stripLoadCase());
    cases.push_back(cohesionWithDepthCase());
    cases.push_back(twoClaysCase());
    return cases;
}

}  // namespace

const std::vector<VerificationCase>& verificationCases() {
    static const std::vector<VerificationCase> cases = makeCases();
    return cases;
}

const std::vector<UnbuiltProblem>& unbuiltProblems() {
    static const std::vector<UnbuiltProblem> problems = {
        {"Fredlund and Krahn (1977), the case with a piezometric line", "Fredlund and Krahn (1977)",
         "not rebuilt: the line's coordinates were not at hand. Dorvo carries pore-water "
         "pressure only through γ2, the unit weight of the resisting terms, which rebuilds a "
         "ratio ru (case 1 with ru) and a hydrostatic pressure below a line (Pockoski and "
         "Duncan's test slope 1) exactly for the simplified Bishop method, not for the "
         "ordinary method."},
        {"Fredlund and Krahn (1977), the cases with a thin weak layer and with bedrock",
         "Fredlund and Krahn (1977)",
         "composite (non-circular) slip surfaces along the weak layer or the bedrock; Dorvo "
         "searches circles only."},
        {"ACADS problem 1(b): the slope of 1(a) with a water-filled tension crack",
         "Donald and Giam (1989)",
         "tension cracks and the water in them are not in Dorvo's model."},
        {"ACADS problems with a pore-pressure grid", "Donald and Giam (1989)",
         "pore-water pressure given at points of a grid: not in Dorvo's model."},
        {"ACADS problems with a water table", "Donald and Giam (1989)",
         "not rebuilt: the tables' coordinates were not at hand (the simplified Bishop value "
         "could be rebuilt as for Pockoski and Duncan's test slope 1)."},
        {"ACADS problems with a thin weak seam", "Donald and Giam (1989)",
         "their referee surfaces are non-circular; Dorvo searches circles only."},
        {"Arai and Tagyo (1985), example 3: the homogeneous slope with a water table",
         "Arai and Tagyo (1985)",
         "not rebuilt yet; its water table could be carried as Pockoski and Duncan's is."},
        {"Taylor's stability numbers for φ > 0", "Taylor (1937, 1948)",
         "computed by the friction-circle method, which is neither of Dorvo's methods; the "
         "charts' values are not a check of the ordinary or the simplified Bishop method."},
    };
    return problems;
}

}  // namespace dorvo::verification
