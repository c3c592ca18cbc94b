#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Drives the desktop program as a user would, through the accessibility bus, on a virtual X
# server of its own: usage run-desktop-e2e.sh DORVO DORVO_CLI EXAMPLE GOLDEN_RECORDS
# With DORVO_SCREENSHOTS set to a folder, it leaves a picture of each design-analysis dialog there.
set -euo pipefail
dorvo=$1 cli=$2 example=$3 golden=$4
work=$(mktemp -d)
cleanup() {
    kill "${app:-}" "${xvfb:-}" "${DBUS_SESSION_BUS_PID:-}" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

display=:$((90 + RANDOM % 400))
Xvfb "$display" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
eval "$(dbus-launch --sh-syntax)"
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
sleep 1

export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
export XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
cp "$example" "$work/project.slw"
"$dorvo" "$work/project.slw" >"$work/app.log" 2>&1 &
app=$!

/usr/bin/python3 "$(dirname "$0")/desktop_e2e.py" "$work" "$golden" "$cli"
