// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "model/results_format.h"

namespace dorvo {

/// Decimals of Fs in the records, the setting clamped to 2 … 4.
int clampFsDecimals(int setting);

/// The places after the point of Fs in a circle record, for a decimals setting.
int fsPlaces(int decimals);

inline constexpr std::string_view kColumnHeadsRecord = "018,Rx,Ry,R,MD,(MC)  +,(Mt-Me)  =,MR,FS";
inline constexpr std::string_view kROverRecord = "error  R-Over (next Ic)";

/// "801," and 76 hyphens.
std::string_view separatorRecord();

/// "901,解はありません。データが不適当。" in code page 932.
std::string_view noSolutionRecord();

/// Appends a circle's record to `out`: the centre's first circle (028) or a later one (038),
/// as firstCircleRecord and nextCircleRecord give them.
void appendCircleRecord(std::string& out, bool first, double rx, double ry, double r, double md,
                        double mc, double mtMe, double mr, double fs, int decimals);

/// The 028 record: the first written circle of a centre.
std::string firstCircleRecord(double rx, double ry, double r, double md, double mc, double mtMe,
                              double mr, double fs, int decimals);

/// The 038 record: every further written circle of the same centre.
std::string nextCircleRecord(double r, double md, double mc, double mtMe, double mr, double fs,
                             int decimals);

/// The 055 record: the minimum of a centre, or of the whole search after "$$ANS".
std::string minimumRecord(double rx, double ry, double r, double fs, int decimals);

/// The 073 record: a centre without any written circle.
std::string noCircleRecord(double rx, double ry);

/// The 802 record: a layer number without a layer row met in a row of centres.
std::string missingLayerRecord(int layerNo);

/// The "$$XY" record: the end points of the critical circle's slip surface.
std::string endPointsRecord(double p1x, double p1y, double p2x, double p2y);

/// The diagnostic record of an element whose centroid lies outside the arc.
std::string centroidOutsideRecord(double xg, double yg, double v, double x1, double s, double y2,
                                  double y3);

/// The status line while a circle is tried, "R(%8.2f,%8.2f)  r=%8.2f".
std::string circleStatusText(double rx, double ry, double r);

}  // namespace dorvo
