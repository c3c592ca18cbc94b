// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <functional>
#include <ostream>

#include "model/result.h"

namespace dorvo {

/// Writes a file through a temporary file in the same folder that is renamed over the target
/// once complete, so a failure half way leaves the previous file as it was. The temporary is
/// created anew under a name no one can guess, never through a link, and gets the mode and
/// owner of the file it replaces through its descriptor. A symlink at the target is followed
/// to its file, whose mode and owner stay. A device or pipe is written in place; a folder, or
/// a file the user may not write, is refused. The writer returns false to give up. A failure
/// says why in the words the user is shown.
Status writeFileAtomically(const std::filesystem::path& target,
                           const std::function<bool(std::ostream&)>& writer);

/// Whether this is the name of a temporary file of `writeFileAtomically`: the target's name,
/// ".saving-", the process id of the writer and a random part.
bool isSavingTemporaryName(const std::string& name);

/// Removes the temporary files that writes of this process have begun and not yet finished.
/// Safe to call from a signal handler or while the writing thread is held still.
void removeTemporariesInProgress();

/// Removes this user's temporary files in the folder that were left by processes that no
/// longer run; the files of running processes, of other users, and links stay.
void removeAbandonedTemporaries(const std::filesystem::path& folder);

}  // namespace dorvo
