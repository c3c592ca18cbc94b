// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/messages.h"
#include "model/project.h"
#include "model/result.h"
#include "render/page_setup.h"

namespace dorvo {

// The dialog "図の縮尺と印刷範囲": the scales of the figure and the model window it prints,
// settings lines 3 to 9 of the project.

/// The dialog's editable texts.
struct ScaleForm {
    std::string scaleY;
    std::string scaleX;
    std::string topY;
    std::string depthM;
    std::string leftX;
    std::string widthM;
    std::string overlapM;
};

/// The names of the fields, as the dialog labels them.
namespace scale_label {
inline constexpr std::string_view kScaleY = "縮尺 Ｙ（縦）";
inline constexpr std::string_view kScaleX = "縮尺 Ｘ（横）";
inline constexpr std::string_view kTopY = "上端のＹ座標";
inline constexpr std::string_view kDepthM = "Ｙ（縦）範囲";
inline constexpr std::string_view kLeftX = "左端のＸ座標";
inline constexpr std::string_view kWidthM = "Ｘ（横）範囲";
inline constexpr std::string_view kOverlapM = "改ページ重複距離";
}  // namespace scale_label

/// What the dialog measures against: the paper and margins of the page setup, the figure's
/// extents and the centre grid's X range, in whole metres.
struct ScaleContext {
    PageSetup setup;
    int extentX = 0;
    int extentY = 0;
    int gridStartX = 0;
    int gridEndX = 0;
};

ScaleContext scaleContext(const Project& project, const PageSetup& setup);

/// The texts the dialog opens with: the page setup as the view shows it.
ScaleForm scaleForm(const PageSetup& setup);

/// The top Y as the dialog shows it: at most two decimals, without trailing zeros.
std::string topYText(double topY);

/// Metres one page shows beside a typed scale, or nothing when the scale leaves no drawing
/// length (4012; the dialog shows 0).
std::optional<int> pageMetresXOf(std::string_view typedScale, const PageSetup& setup);
std::optional<int> pageMetresYOf(std::string_view typedScale, const PageSetup& setup);

/// The bottom Y shown below the typed top Y and Y range, "%.1f".
std::string bottomYText(std::string_view typedTopY, std::string_view typedDepth);

/// "標準の設定例": scales of 80 to 2000 (else 500), a page as deep as the paper holds with the
/// section's top a quarter page below its upper edge, and a page as wide as the paper holds
/// centred on the centre grid, else ending at the section's right end.
void applyScaleExample(ScaleForm& form, const ScaleContext& context);

/// The dialog is shown at most this often for one command.
inline constexpr int kScaleShowings = 11;

/// What follows an OK whose values were stored.
enum class ScaleStep {
    ShowAgain,  // stored after corrections: show the dialog again with the corrected texts
    Done,       // stored as typed, or stored before the last showing
};

/// The values an OK stored.
struct StoredScale {
    FigureWindow window;
    ScaleForm shown;                   // the stored values as the dialog shows them
    std::vector<Message> corrections;  // how far a page reaches, for each range cut to it
    ScaleStep next = ScaleStep::Done;
};

/// OK of the dialog's `showing`-th showing (from 1): checks the ranges, refuses scales that
/// leave no drawing length (4012), corrects an overlap not below the X range and ranges
/// beyond what one page shows (saying how far a page reaches) and gives the window to store.
/// A refused value fails: nothing is stored and the dialog stays as it is.
Result<StoredScale> acceptScale(const ScaleForm& typed, const PageSetup& setup, int showing);

/// Writes settings lines 3 to 9 from the figure window: "%d", and "%.2f" for the top Y.
void writeFigureWindowLines(const FigureWindow& window, ProjectSettings& settings);

}  // namespace dorvo
