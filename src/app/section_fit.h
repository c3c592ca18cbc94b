// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include "model/project.h"
#include "render/page_setup.h"

namespace dorvo {

/// Whether the project's figure window was never set: it has no X scale line.
bool figureWindowUnset(const ProjectSettings& settings);

/// "断面に合わせる": one scale for X and Y, the first of the usual scales 1/N (N from 100 up)
/// at which one page of the paper holds the section and the centre grid with a margin, and
/// the window that puts them in the middle of that page. Nothing when there is no section.
std::optional<FigureWindow> fitSectionWindow(const Project& project, const PageSetup& setup);

}  // namespace dorvo
