// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/result_records.h"

#include <algorithm>
#include <stdexcept>

#include "model/encoding.h"
#include "model/fixed_format.h"
#include "model/number_text.h"

namespace dorvo {

namespace {

/// Record texts are stored in code page 932; the source spells them in UTF-8.
std::string stored(std::string_view utf8) {
    auto text = toStoredText(utf8);
    if (!text) throw std::logic_error("record text without a code page 932 form");
    return *text;
}

const std::string& separator() {
    static const std::string text = "801," + std::string(76, '-');
    return text;
}

/// Appends ",value" as "%8.2f" writes the value.
void appendField(std::string& out, double value, int width = 8) {
    out += ',';
    appendFixed(out, value, width, 2);
}

}  // namespace

int fsPlaces(int decimals) {
    return decimals <= 2 ? 2 : decimals == 3 ? 3 : 4;
}

int clampFsDecimals(int setting) {
    return std::clamp(setting, 2, 4);
}

std::string_view separatorRecord() {
    return separator();
}

std::string_view noSolutionRecord() {
    static const std::string text = stored("901,解はありません。データが不適当。");
    return text;
}

// The circle records are formatted millions of times in a search: appended field by field
// with the exact digits of their C formats, "028,%8.2f,%8.2f,%8.2f,%11.2f,%11.2f,%11.2f,
// %11.2f, %8.3f" and the others, rather than through printf.

void appendCircleRecord(std::string& out, bool first, double rx, double ry, double r, double md,
                        double mc, double mtMe, double mr, double fs, int decimals) {
    if (first) {
        out += "028";
        appendField(out, rx);
        appendField(out, ry);
    } else {
        out += "038,     ,     ";
    }
    appendField(out, r);
    for (double moment : {md, mc, mtMe, mr}) appendField(out, moment, 11);
    out += ", ";
    appendFixed(out, fs, 8, fsPlaces(decimals));
}

std::string firstCircleRecord(double rx, double ry, double r, double md, double mc, double mtMe,
                              double mr, double fs, int decimals) {
    std::string out;
    appendCircleRecord(out, true, rx, ry, r, md, mc, mtMe, mr, fs, decimals);
    return out;
}

std::string nextCircleRecord(double r, double md, double mc, double mtMe, double mr, double fs,
                             int decimals) {
    std::string out;
    appendCircleRecord(out, false, 0.0, 0.0, r, md, mc, mtMe, mr, fs, decimals);
    return out;
}

std::string minimumRecord(double rx, double ry, double r, double fs, int decimals) {
    std::string out = "055,FS min.,( Rx:";
    appendFixed(out, rx, 8, 2);
    out += ",Ry:";
    appendFixed(out, ry, 8, 2);
    out += ",R:";
    appendFixed(out, r, 8, 2);
    out += " ),=";
    appendFixed(out, fs, 8, fsPlaces(decimals));
    return out;
}

std::string noCircleRecord(double rx, double ry) {
    std::string out = "073";
    appendField(out, rx);
    appendField(out, ry);
    return out + ",    ---";
}

std::string missingLayerRecord(int layerNo) {
    static const std::string prefix = stored("802, ,データが見つかりませんでした 層No.");
    return prefix + formatC("%d", layerNo);
}

std::string endPointsRecord(double p1x, double p1y, double p2x, double p2y) {
    return std::string(results_marker::kSlipEnds) +
           formatC(",P1(%8.4f,%8.4f),P2(%8.4f,%8.4f)", p1x, p1y, p2x, p2y);
}

std::string centroidOutsideRecord(double xg, double yg, double v, double x1, double s, double y2,
                                  double y3) {
    static const std::string format =
        stored("error 重心(%6.2f,%6.2f)が円弧の外 XR0=%.2f  E1=%.2f XR1=%.2f Y2=%.2f Y3=%.2f");
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#endif
    return formatC(format.c_str(), xg, yg, v, x1, s, y2, y3);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
}

std::string circleStatusText(double rx, double ry, double r) {
    return formatC("R(%8.2f,%8.2f)  r=%8.2f", rx, ry, r);
}

}  // namespace dorvo
