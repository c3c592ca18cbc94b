// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <vector>

namespace dorvo {

/// The help files the program shows: the operating guide and the formula document.
inline constexpr const char* kHelpFileNames[] = {"Help.txt", "HelpCalc.html"};

/// Copies the help files that the working folder lacks from the first folder of `sources`
/// that holds them, as a new working folder gets them.
void installHelpFiles(const std::filesystem::path& workFolder,
                      const std::vector<std::filesystem::path>& sources);

}  // namespace dorvo
