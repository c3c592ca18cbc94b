// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace dorvo {

/// Makes SIGTERM, SIGINT and SIGHUP end the program at once with the status 128 and the
/// signal's number, after removing the temporary files of the saves and calculations under
/// way: the files they would have replaced stay as they were.
void leaveOnTerminationSignals();

}  // namespace dorvo
