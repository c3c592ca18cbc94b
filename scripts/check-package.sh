#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the Debian package of a finished build the way a distribution would: makes it with
# cpack, runs lintian on it (no error and no warning; any override is documented beside it),
# validates its desktop entry and AppStream metadata, and checks that the packaged programs
# name the package's version and that dorvo-cli(1) has a part for every command.
#
#     scripts/check-package.sh [BUILD_FOLDER]     (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

rm -f "$build"/dorvo_*.deb
if ! (cd "$build" && cpack -G DEB >packaging/cpack.log 2>&1); then
    cat "$build/packaging/cpack.log"
    exit 1
fi
deb=$(echo "$build"/dorvo_*.deb)
echo "$deb"

status=0
lintian_output=$(lintian --fail-on error,warning "$deb" 2>&1) || status=1
grep -v "running with root privileges" <<<"$lintian_output" || true
[ $status -eq 0 ] || echo "lintian: errors or warnings above"

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"

desktop-file-validate "$unpacked"/usr/share/applications/*.desktop || status=1
appstreamcli validate --no-net "$unpacked"/usr/share/metainfo/*.metainfo.xml >"$unpacked/as.log" ||
    { cat "$unpacked/as.log"; status=1; }

version=$(dpkg-deb -f "$deb" Version)
for program in dorvo dorvo-cli; do
    first=$("$unpacked/usr/bin/$program" --version | head -n 1)
    if [ "$first" != "$program $version" ]; then
        echo "$program --version says \"$first\", the package is $version"
        status=1
    fi
done

page=$(zcat "$unpacked/usr/share/man/man1/dorvo-cli.1.gz")
commands=$("$unpacked/usr/bin/dorvo-cli" --help |
    awk '/^Subcommands:/ { on = 1; next } on && /^  [^ ]/ { print $1 } /^$/ { on = 0 }')
for command in $commands; do
    grep -qx ".SS \"$command\"" <<<"$page" || { echo "dorvo-cli(1) lacks \"$command\""; status=1; }
done
[ -n "$commands" ] || { echo "dorvo-cli --help lists no command"; status=1; }

[ $status -eq 0 ] && echo "package checked: lintian, desktop entry, AppStream, versions, manual"
exit $status
