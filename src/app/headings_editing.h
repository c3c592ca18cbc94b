// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/messages.h"
#include "model/project.h"
#include "model/result.h"
#include "render/page_setup.h"

namespace dorvo {

// The dialog "見出しとページ": the headings of the figure and the tables, the page numbers
// and the display options, all kept in the project's settings lines 15 to 59.

/// How a field shows and stores its settings line.
enum class HeadingsFieldKind {
    Text,     // stored as typed
    Integer,  // "%d", or empty when left empty
    Check,    // "1" or "0"
    Choice,   // the index of the chosen radio button, "%d"
};

struct HeadingsField {
    int line;
    HeadingsFieldKind kind;
    std::string_view label;  // what the user sees beside the field
};

/// Every field of the dialog with its settings line. Line 19 is carried along untouched.
inline constexpr std::array kHeadingsFields = {
    HeadingsField{15, HeadingsFieldKind::Choice, "データの単位"},
    HeadingsField{16, HeadingsFieldKind::Choice, "計算結果の単位"},
    HeadingsField{17, HeadingsFieldKind::Text, "メモ （非表示）"},
    HeadingsField{18, HeadingsFieldKind::Check, "XY軸を表示する"},
    HeadingsField{20, HeadingsFieldKind::Integer, "Y目盛りの最大値"},
    HeadingsField{21, HeadingsFieldKind::Text, "断面図 見出し"},
    HeadingsField{22, HeadingsFieldKind::Text, "ブロックデータ 見出し"},
    HeadingsField{23, HeadingsFieldKind::Text, "層データ 見出し"},
    HeadingsField{24, HeadingsFieldKind::Text, "集中荷重データ 見出し"},
    HeadingsField{25, HeadingsFieldKind::Text, "すべり円データ 見出し"},
    HeadingsField{26, HeadingsFieldKind::Text, "計算結果 見出し"},
    HeadingsField{27, HeadingsFieldKind::Check, "見出し、ページ、Y軸目盛り を2頁以後も表示"},
    HeadingsField{29, HeadingsFieldKind::Integer, "断面図 上"},
    HeadingsField{30, HeadingsFieldKind::Integer, "ブロックデータ 上"},
    HeadingsField{31, HeadingsFieldKind::Integer, "層データ 上"},
    HeadingsField{32, HeadingsFieldKind::Integer, "集中荷重データ 上"},
    HeadingsField{33, HeadingsFieldKind::Integer, "すべり円データ 上"},
    HeadingsField{34, HeadingsFieldKind::Integer, "計算結果 上"},
    HeadingsField{37, HeadingsFieldKind::Integer, "断面図 左"},
    HeadingsField{38, HeadingsFieldKind::Check, "断面図 左右中央"},
    HeadingsField{39, HeadingsFieldKind::Check, "集中荷重データ 改頁"},
    HeadingsField{40, HeadingsFieldKind::Check, "すべり円データ 改頁"},
    HeadingsField{41, HeadingsFieldKind::Integer, "断面図 開始ページ"},
    HeadingsField{42, HeadingsFieldKind::Integer, "データ 開始ページ"},
    HeadingsField{43, HeadingsFieldKind::Integer, "計算結果 開始ページ"},
    HeadingsField{44, HeadingsFieldKind::Text, "断面図 章など"},
    HeadingsField{45, HeadingsFieldKind::Text, "データ 章など"},
    HeadingsField{46, HeadingsFieldKind::Text, "計算結果 章など"},
    HeadingsField{49, HeadingsFieldKind::Text, "断面図 形式"},
    HeadingsField{50, HeadingsFieldKind::Text, "データ 形式"},
    HeadingsField{54, HeadingsFieldKind::Text, "計算結果 形式"},
    HeadingsField{55, HeadingsFieldKind::Integer, "ブロックデータ 左"},
    HeadingsField{56, HeadingsFieldKind::Check, "ブロックデータ 左右中央"},
    HeadingsField{57, HeadingsFieldKind::Integer, "ページ番号 左"},
    HeadingsField{58, HeadingsFieldKind::Check, "ページ番号 左右中央"},
    HeadingsField{59, HeadingsFieldKind::Integer, "ページ番号 上"},
};

/// The field of a settings line.
const HeadingsField& headingsField(int line);

/// The dialog's values in UTF-8 by settings line: texts as typed, checks "1" or "0", the
/// unit choices as the index of their radio button.
using HeadingsValues = std::map<int, std::string>;

/// The values of the project as they show, without the opening rules.
HeadingsValues headingsValues(const Project& project);

/// The values the dialog opens with: those of the project, with the standard positions when
/// the figure heading's top and left and the page number's top are all empty, and the
/// centring rules applied.
HeadingsValues openingHeadingsValues(const Project& project, const PageSetup& paper);

/// Where the page number may stand at most: the paper height less 16 mm.
int footerLimitMm(const PageSetup& paper);

/// "標準の位置": every heading 1 mm below the top margin, the three headings and the page
/// number centred, the slip-circle data on a new page, the page number at the footer limit.
void applyStandardPositions(HeadingsValues& values, const PageSetup& paper);

/// "標準の設定例": the standard heading texts, the standard positions and the axes shown.
void applyStandardExample(HeadingsValues& values, const PageSetup& paper);

/// A "左右中央" box and the left distance it disables while checked.
struct CentringRule {
    int centredLine;
    int leftLine;
    bool showsHalfPaperWidth;  // the figure heading's left then shows half the paper width
};

inline constexpr std::array<CentringRule, 3> kCentringRules = {{
    {38, 37, true},   // figure heading
    {56, 55, false},  // the data and result headings
    {58, 57, false},  // page number
}};

/// Gives a checked figure-heading centring its left distance of half the paper width.
void applyCentring(HeadingsValues& values, const PageSetup& paper);

/// OK: checks every typed value and stores them in the project; a field left as it opened
/// keeps its stored text. A value the line cannot hold fails with its message and nothing is
/// stored (the dialog stays open). A page number below the footer limit is stored all the same;
/// the warning 132 that says so is given back.
Result<std::optional<Message>> storeHeadings(const HeadingsValues& typed, const PageSetup& paper,
                                             Project& project);

/// The candidates of a heading's combo box (settings line 21 to 26) in UTF-8: the built-in
/// ones of the row, then those of "Sym.ndx" (code page 932) that the row lacks.
std::vector<std::string> headingCandidates(int headingLine,
                                           const std::vector<std::string>& extraCandidates);

/// The page-number forms offered; the first character of the form decides the brackets.
inline constexpr std::array<std::string_view, 4> kPageNumberForms = {"", "-", "(", "<"};

}  // namespace dorvo
