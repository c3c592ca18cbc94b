#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Gives every tracked source file (C++, Python, shell, CMake, and any script with a "#!" line)
# the licence's SPDX identifier line: a new first line, or a new second line after a "#!" line,
# so the file's own first line stays as it was. Files that have the line keep it; running the
# script again changes nothing.
#
#     scripts/add-spdx-lines.sh           inserts the missing lines
#     scripts/add-spdx-lines.sh --check   changes nothing, lists the files without the line and
#                                         exits with 1 if there are any
set -euo pipefail
cd "$(dirname "$0")/.."

identifier="SPDX-License-Identifier: GPL-3.0-or-later"
check_only=false
case "${1:-}" in
    "") ;;
    --check) check_only=true ;;
    *)
        echo "usage: $0 [--check]" >&2
        exit 2
        ;;
esac

comment_for() {
    case "$1" in
        *.cpp | *.h) echo "//" ;;
        *) echo "#" ;;
    esac
}

# Shell builtins only: the test command runs this check over every file.
starts_with_interpreter() {
    local start=""
    IFS= read -r -n 2 start <"$1" || true
    [ "$start" = "#!" ]
}

is_source() {
    case "$1" in
        *.cpp | *.h | *.py | *.sh | *.cmake | CMakeLists.txt | */CMakeLists.txt) return 0 ;;
    esac
    starts_with_interpreter "$1"
}

has_identifier() {
    local line count=0
    while [ $count -lt 3 ] && IFS= read -r line; do
        [[ $line == *SPDX-License-Identifier:* ]] && return 0
        count=$((count + 1))
    done <"$1"
    return 1
}

lacking=()
while IFS= read -r -d '' file; do
    [ -f "$file" ] && [ ! -L "$file" ] && [ -s "$file" ] || continue
    is_source "$file" || continue
    has_identifier "$file" && continue
    lacking+=("$file")
done < <(git ls-files -z)

if $check_only; then
    if [ ${#lacking[@]} -gt 0 ]; then
        echo "Files without the line \"$identifier\" (scripts/add-spdx-lines.sh adds it):"
        printf '  %s\n' "${lacking[@]}"
        exit 1
    fi
    exit 0
fi

for file in "${lacking[@]}"; do
    line="$(comment_for "$file") $identifier"
    if starts_with_interpreter "$file"; then
        sed -i "1a\\$line" "$file"
    else
        sed -i "1i\\$line" "$file"
    fi
done
echo "Added the SPDX line to ${#lacking[@]} files."
