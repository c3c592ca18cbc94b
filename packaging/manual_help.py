#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Gives help2man a program's whole help: `manual_help.py PROGRAM --help` prints the
program's --help followed by the --help of each of its subcommands (found in the help's
"Subcommands:" list, and theirs in turn), laid out the way help2man reads it: every usage
in the synopsis, a section COMMANDS with one subsection per command, and every other list
of the program's help ("Exit status:", an option group) as a section of its own.
`manual_help.py PROGRAM --version` prints the program's --version as it is.

The programs' help is written with CLI11; this reads the layout CLI11 prints: a description,
the usage line, then paragraphs, each a heading ending in ':' over indented lines, or text."""

import os
import re
import subprocess
import sys

HEADING = re.compile(r"^(\S.*):$")
OPTION_LISTS = ("Positionals", "Options")


class HelpError(Exception):
    pass


def run(program, arguments):
    result = subprocess.run([program, *arguments], capture_output=True, text=True, check=False)
    if result.returncode != 0 or not result.stdout.strip():
        raise HelpError(f"'{' '.join([program, *arguments])}' ended with "
                        f"{result.returncode}: {result.stderr.strip()}")
    return result.stdout


def parse_help(text):
    """Returns the description lines, the usage and the paragraphs after it, each as
    (heading or None, lines)."""
    lines = text.rstrip("\n").split("\n")
    usage_at = next((i for i, line in enumerate(lines) if line.startswith("Usage: ")), None)
    if usage_at is None:
        raise HelpError("no 'Usage:' line in the help")
    description = [line for line in lines[:usage_at] if line.strip()]
    usage = lines[usage_at][len("Usage: "):]
    paragraphs = []
    for block in re.split(r"\n\s*\n", "\n".join(lines[usage_at + 1:])):
        block_lines = [line for line in block.split("\n") if line.strip()]
        if not block_lines:
            continue
        heading = HEADING.match(block_lines[0])
        if heading and len(block_lines) > 1 and block_lines[1].startswith(" "):
            paragraphs.append((heading.group(1), block_lines[1:]))
        else:
            paragraphs.append((None, block_lines))
    return description, usage, paragraphs


def subcommand_names(paragraphs):
    names = []
    for heading, lines in paragraphs:
        if heading != "Subcommands":
            continue
        for line in lines:
            match = re.match(r"^  (\S+)(\s|$)", line)
            if match:
                names.append(match.group(1))
            elif not line.startswith("   "):
                raise HelpError(f"unreadable subcommand line: {line!r}")
    return names


def without_folder(usage):
    first, _, rest = usage.partition(" ")
    return os.path.basename(first) + (" " + rest if rest else "")


def command_help(program, path, inherited, usages, sections):
    """Collects the usage and the subsection of the command `path` and of its own commands,
    without the paragraphs it repeats from the program's help (CLI11 repeats the closing
    text in every command's help)."""
    description, usage, paragraphs = parse_help(run(program, [*path, "--help"]))
    usages.append(without_folder(usage))
    section = [" ".join(path) + ":"] + ["  " + line for line in description or ["-"]]
    for heading, lines in paragraphs:
        if heading == "Subcommands" or (heading, lines) in inherited:
            continue
        section.append("")
        if heading not in OPTION_LISTS + (None,):
            section += [f"  {heading}:", ""]
        section += lines if heading else ["  " + line.strip() for line in lines]
    sections.append(section)
    for name in subcommand_names(paragraphs):
        command_help(program, [*path, name], inherited, usages, sections)


def whole_help(program):
    description, usage, paragraphs = parse_help(run(program, ["--help"]))
    usages = [without_folder(usage)]
    sections = []
    for name in subcommand_names(paragraphs):
        command_help(program, [name], paragraphs, usages, sections)

    out = [f"Usage: {usages[0]}"] + [f"   or: {line}" for line in usages[1:]]
    out += description
    for heading, lines in paragraphs:
        if heading in OPTION_LISTS:
            out += ["", f"{heading}:"] + lines
    if sections:
        out += ["", "*Commands*"]
        for section in sections:
            out += section + [""]
    for heading, lines in paragraphs:
        if heading is None:
            out += lines + [""]
        elif heading not in OPTION_LISTS + ("Subcommands",):
            out += [f"*{heading}*"] + lines + [""]
    return "\n".join(out).rstrip("\n") + "\n"


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
