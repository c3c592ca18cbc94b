// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string>

#include "model/messages.h"
#include "model/project.h"
#include "model/result.h"

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

/// What follows an OK whose texts were stored.
enum class CircleSearchStep {
    Done,       // valid, or stored at the last showing
    ShowAgain,  // invalid: show the dialog again with the stored texts
};

/// The texts an OK stored: what follows, and the check's message when the search cannot run.
struct StoredCircleSearch {
    CircleSearchStep next = CircleSearchStep::Done;
    std::optional<Message> problem;
};

/// OK of the dialog's `showing`-th showing (from 1): stores the texts in the project, even
/// invalid ones, and checks the search. A text that is not a number, or that the file cannot
/// hold, stores nothing and fails naming its field: the dialog stays as it is.
Result<StoredCircleSearch> acceptCircleSearch(Project& project, const CircleSearchTexts& typed,
                                              int showing);

}  // namespace dorvo
