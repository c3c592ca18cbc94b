// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "app/document.h"

namespace dorvo {

enum class SaveAnswer { Save, Discard, Cancel };

/// Asks whether to save the changes of a project before they would be lost; the GUI shows a
/// message box, tests answer.
class SaveQuestion {
  public:
    virtual ~SaveQuestion() = default;
    virtual SaveAnswer askToSave(const std::string& title) = 0;
};

/// Whether a command that replaces or closes the project may go on. An unmodified project
/// goes on at once; otherwise the user chooses: Save (going on only when the save succeeded),
/// Discard, or Cancel.
bool mayReplaceProject(Document& document, SaveQuestion& question,
                       const FileCommandContext& context);

}  // namespace dorvo
