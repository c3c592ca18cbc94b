// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/termination.h"

#include <signal.h>
#include <unistd.h>

#include "model/atomic_write.h"

namespace dorvo {

namespace {

constexpr int kTerminationSignals[] = {SIGTERM, SIGINT, SIGHUP};

void leaveAtOnce(int signal) {
    removeTemporariesInProgress();
    ::_exit(128 + signal);
}

}  // namespace

void leaveOnTerminationSignals() {
    struct sigaction action {};
    action.sa_handler = leaveAtOnce;
    sigemptyset(&action.sa_mask);
    for (int signal : kTerminationSignals) sigaddset(&action.sa_mask, signal);
    for (int signal : kTerminationSignals) ::sigaction(signal, &action, nullptr);
}

}  // namespace dorvo
