// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace dorvo {

/// Converts stored code page 932 text to UTF-8 for display. Bytes that are not valid code
/// page 932 become U+FFFD, so a damaged cell still shows everything it can.
std::string toDisplayText(std::string_view stored);

/// Converts UTF-8 text typed by the user to code page 932 for storing; nothing when a
/// character has no code page 932 form or the text is not valid UTF-8.
std::optional<std::string> toStoredText(std::string_view display);

/// The message that a text cannot be stored, naming the text.
std::string notEncodableMessage(std::string_view display);

}  // namespace dorvo
