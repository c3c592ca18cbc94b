#include "calc/result_records.h"

#include <algorithm>
#include <stdexcept>

#include "model/encoding.h"
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

const char* fsFormat(const char* two, const char* three, const char* four, int decimals) {
    return decimals <= 2 ? two : decimals == 3 ? three : four;
}

}  // namespace

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

std::string firstCircleRecord(double rx, double ry, double r, double md, double mc, double mtMe,
                              double mr, double fs, int decimals) {
    return formatC(fsFormat("028,%8.2f,%8.2f,%8.2f,%11.2f,%11.2f,%11.2f,%11.2f, %8.2f",
                            "028,%8.2f,%8.2f,%8.2f,%11.2f,%11.2f,%11.2f,%11.2f, %8.3f",
                            "028,%8.2f,%8.2f,%8.2f,%11.2f,%11.2f,%11.2f,%11.2f, %8.4f", decimals),
                   rx, ry, r, md, mc, mtMe, mr, fs);
}

std::string nextCircleRecord(double r, double md, double mc, double mtMe, double mr, double fs,
                             int decimals) {
    return formatC(fsFormat("038,     ,     ,%8.2f,%11.2f,%11.2f,%11.2f,%11.2f, %8.2f",
                            "038,     ,     ,%8.2f,%11.2f,%11.2f,%11.2f,%11.2f, %8.3f",
                            "038,     ,     ,%8.2f,%11.2f,%11.2f,%11.2f,%11.2f, %8.4f", decimals),
                   r, md, mc, mtMe, mr, fs);
}

std::string minimumRecord(double rx, double ry, double r, double fs, int decimals) {
    return formatC(fsFormat("055,FS min.,( Rx:%8.2f,Ry:%8.2f,R:%8.2f ),=%8.2f",
                            "055,FS min.,( Rx:%8.2f,Ry:%8.2f,R:%8.2f ),=%8.3f",
                            "055,FS min.,( Rx:%8.2f,Ry:%8.2f,R:%8.2f ),=%8.4f", decimals),
                   rx, ry, r, fs);
}

std::string noCircleRecord(double rx, double ry) {
    return formatC("073,%8.2f,%8.2f,    ---", rx, ry);
}

std::string missingLayerRecord(int layerNo) {
    static const std::string prefix = stored("802, ,データが見つかりませんでした 層No.");
    return prefix + formatC("%d", layerNo);
}

std::string endPointsRecord(double p1x, double p1y, double p2x, double p2y) {
    return formatC("$$XY,P1(%8.4f,%8.4f),P2(%8.4f,%8.4f)", p1x, p1y, p2x, p2y);
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
