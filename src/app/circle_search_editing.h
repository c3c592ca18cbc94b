// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>

#include "model/messages.h"
#include "model/project.h"

namespace dorvo {

/// The sixteen texts of the dialog "すべり円データ" in UTF-8: the fifteen fields of the circle
/// search, then Kh.
using CircleSearchTexts = std::array<std::string, kCircleSearchLines + 1>;

/// Where a field of the dialog stands: its group, its row caption and its axis.
struct CircleSearchFieldPlace {
    const char* group;
    const char* row;
    const char* axis;
};

/// The sixteen fields in the order of `CircleSearchTexts`, Kh last.
extern const std::array<CircleSearchFieldPlace, kCircleSearchLines + 1> kCircleSearchFieldPlaces;

/// The name of a field, as the dialog labels it and its messages call it ("中心点 起点座標 X").
std::string circleSearchFieldName(std::size_t field);

/// The dialog is shown at most this often for one command.
inline constexpr int kCircleSearchShowings = 3;

/// The texts the dialog starts with.
CircleSearchTexts circleSearchTexts(const Project& project);

enum class CircleSearchStep {
    KeepOpen,   // a text cannot be stored: nothing stored, the dialog stays as it is
    Done,       // stored and valid, or stored after the last showing
    ShowAgain,  // stored but invalid: show the dialog again with the stored texts
};

/// OK of the dialog's `showing`-th showing (from 1): stores the texts in the project, even
/// invalid ones, and checks the search with its message. A text that is not a number, or
/// that the file cannot hold, stores nothing and is reported naming its field.
CircleSearchStep acceptCircleSearch(Project& project, const CircleSearchTexts& typed, int showing,
                                    MessageSink& messages);

}  // namespace dorvo
