#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Regenerates Help.txt (code page 932, CR LF line ends) from Help.utf8.txt.
# Fails when a character has no code page 932 form or a line is longer than 90 bytes.
set -eu
cd "$(dirname "$0")"
iconv -f UTF-8 -t CP932 Help.utf8.txt > Help.txt.tmp
iconv -f CP932 -t UTF-8 Help.txt.tmp | cmp -s - Help.utf8.txt || {
    echo "Help.utf8.txt does not convert to code page 932 without loss" >&2
    rm -f Help.txt.tmp
    exit 1
}
too_long=$(LC_ALL=C awk 'length($0) > 90 { print NR ": " length($0) " bytes" }' Help.txt.tmp)
if [ -n "$too_long" ]; then
    echo "lines longer than 90 bytes:" >&2
    echo "$too_long" >&2
    rm -f Help.txt.tmp
    exit 1
fi
sed 's/$/\r/' Help.txt.tmp > Help.txt
rm -f Help.txt.tmp
