// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/save_prompt.h"

namespace dorvo {

bool mayReplaceProject(Document& document, SaveQuestion& question,
                       const FileCommandContext& context) {
    if (!document.modified) return true;
    switch (question.askToSave(document.title())) {
        case SaveAnswer::Save:
            return saveCommand(document, context);
        case SaveAnswer::Discard:
            return true;
        case SaveAnswer::Cancel:
            break;
    }
    return false;
}

}  // namespace dorvo
