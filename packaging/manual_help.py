#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Gives help2man a program's whole help: `manual_help.py PROGRAM --help` prints the
program's --help followed by the --help of each of its subcommands (found in the help's
"Subcommands:" list, and theirs in turn), laid out the way help2man reads it: every usage
in the synopsis, a section COMMANDS with one subsection per command, and each heading of
the closing text ("Exit status:") as a section of its own. `manual_help.py PROGRAM
--version` prints the program's --version as it is.

The programs' help is written with CLI11; this reads the layout CLI11 prints."""

import os
import re
import subprocess
import sys

LIST_HEADINGS = ("Positionals:", "Options:", "Subcommands:")


class HelpError(Exception):
    pass


def run(program, arguments):
    result = subprocess.run([program, *arguments], capture_output=True, text=True, check=False)
    if result.returncode != 0 or not result.stdout.strip():
        raise HelpError(f"'{' '.join([program, *arguments])}' ended with "
                        f"{result.returncode}: {result.stderr.strip()}")
    return result.stdout


def parse_help(text):
    """Splits CLI11's help into its description, usage, lists (heading -> lines) and the
    closing text (the lines after the last list)."""
    lines = text.rstrip("\n").split("\n")
    usage_at = next((i for i, line in enumerate(lines) if line.startswith("Usage: ")), None)
    if usage_at is None:
        raise HelpError("no 'Usage:' line in the help")
    description = [line for line in lines[:usage_at] if line.strip()]
    usage = lines[usage_at][len("Usage: "):]
    lists = {}
    closing = []
    heading = None
    for line in lines[usage_at + 1:]:
        if closing:
            closing.append(line)
        elif line in LIST_HEADINGS:
            heading = line
            lists[heading] = []
        elif heading and line.startswith("  "):
            lists[heading].append(line)
        elif not line.strip():
            heading = None if heading and lists[heading] else heading
        else:
            closing.append(line)
    return description, usage, lists, closing


def subcommand_names(lists):
    names = []
    for line in lists.get("Subcommands:", []):
        match = re.match(r"^  (\S+)(\s|$)", line)
        if not match:
            raise HelpError(f"unreadable subcommand line: {line!r}")
        names.append(match.group(1))
    return names


def without_folder(usage):
    first, _, rest = usage.partition(" ")
    return os.path.basename(first) + (" " + rest if rest else "")


def command_help(program, path, out_usages, out_sections):
    """Collects the usage and the subsection of the command `path` and of its own commands."""
    description, usage, lists, _ = parse_help(run(program, [*path, "--help"]))
    out_usages.append(without_folder(usage))
    section = [" ".join(path) + ":"]
    section += ["  " + line for line in description] or ["  (no description)"]
    for heading in ("Positionals:", "Options:"):
        if lists.get(heading):
            section += [""] + lists[heading]
    out_sections.append("\n".join(section))
    for name in subcommand_names(lists):
        command_help(program, [*path, name], out_usages, out_sections)


def whole_help(program):
    description, usage, lists, closing = parse_help(run(program, ["--help"]))
    usages = [without_folder(usage)]
    sections = []
    for name in subcommand_names(lists):
        command_help(program, [name], usages, sections)

    out = [f"Usage: {usages[0]}"] + [f"   or: {line}" for line in usages[1:]]
    out += description
    for heading in ("Positionals:", "Options:"):
        if lists.get(heading):
            out += ["", heading] + lists[heading]
    if sections:
        out += ["", "*Commands*"]
        for section in sections:
            out += [section, ""]
    for line in closing:
        heading = re.match(r"^([A-Z][\w ]*):$", line)
        out.append(f"*{heading.group(1)}*" if heading else line)
    return "\n".join(out) + "\n"


def main():
    if len(sys.argv) != 3 or sys.argv[2] not in ("--help", "--version"):
        print(__doc__, file=sys.stderr)
        return 2
    program, option = sys.argv[1], sys.argv[2]
    try:
        sys.stdout.write(run(program, ["--version"]) if option == "--version" else
                         whole_help(program))
    except (HelpError, OSError) as error:
        print(f"manual_help.py: {error}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
