#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Turns CHANGELOG.md into the package's Debian changelog (gzip-compressed) or into the
releases of the AppStream metadata, and stops the build when its newest version is not the
project's.

    changelog.py debian CHANGELOG.md --version V --package P --maintainer M -o changelog.gz
    changelog.py metainfo CHANGELOG.md --version V --template IN.xml [--define NAME=VALUE]...
                 -o OUT.xml

The metainfo template holds @RELEASES@ where the releases go, and @NAME@ for each --define.
"""

import argparse
import datetime
import email.utils
import gzip
import re
import sys
from xml.sax.saxutils import escape

HEADING = re.compile(r"^## (\S+) \((\d{4}-\d{2}-\d{2})\)$")
LONGEST_LINE = 78


class ChangelogError(Exception):
    pass


def read_releases(path):
    """Returns [(version, date, [item lines])] newest first; an item is a list of lines."""
    releases = []
    with open(path, encoding="utf-8") as file:
        lines = file.read().splitlines()
    for number, line in enumerate(lines, start=1):
        where = f"{path}:{number}"
        if releases and len(line) > LONGEST_LINE:
            raise ChangelogError(f"{where}: longer than {LONGEST_LINE} characters")
        if line.startswith("## "):
            match = HEADING.match(line)
            if not match:
                raise ChangelogError(f"{where}: a version heading reads '## VERSION (YYYY-MM-DD)'")
            try:
                date = datetime.date.fromisoformat(match.group(2))
            except ValueError as error:
                raise ChangelogError(f"{where}: {error}") from None
            releases.append((match.group(1), date, []))
        elif not releases or not line.strip():
            continue
        elif line.startswith("- "):
            releases[-1][2].append([line[2:]])
        elif line.startswith("  ") and releases[-1][2]:
            releases[-1][2][-1].append(line.strip())
        else:
            raise ChangelogError(f"{where}: an item starts with '- ', its next lines with two spaces")
    if not releases:
        raise ChangelogError(f"{path}: no version heading")
    for version, date, items in releases:
        if not items:
            raise ChangelogError(f"{path}: version {version} lists no change")
    return releases


def check_newest(releases, version, path):
    if releases[0][0] != version:
        raise ChangelogError(
            f"{path}: the newest version is {releases[0][0]}, the project's is {version}; "
            "give CHANGELOG.md and project() in CMakeLists.txt the same version")


def debian_changelog(releases, package, maintainer):
    entries = []
    for version, date, items in releases:
        lines = [f"{package} ({version}) unstable; urgency=medium", ""]
        for item in items:
            text = [line.replace("`", "") for line in item]
            lines.append("  * " + text[0])
            lines.extend("    " + line for line in text[1:])
        moment = datetime.datetime.combine(date, datetime.time(12), datetime.timezone.utc)
        lines += ["", f" -- {maintainer}  {email.utils.format_datetime(moment)}"]
        entries.append("\n".join(lines) + "\n")
    return "\n".join(entries)


def metainfo_releases(releases):
    return "\n".join(
        f'    <release version="{escape(version)}" date="{date.isoformat()}"/>'
        for version, date, _ in releases)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("form", choices=["debian", "metainfo"])
    parser.add_argument("changelog")
    parser.add_argument("--version", required=True)
    parser.add_argument("--package")
    parser.add_argument("--maintainer")
    parser.add_argument("--template")
    parser.add_argument("--define", action="append", default=[], metavar="NAME=VALUE")
    parser.add_argument("-o", "--output", required=True)
    arguments = parser.parse_args()
    try:
        releases = read_releases(arguments.changelog)
        check_newest(releases, arguments.version, arguments.changelog)
    except (ChangelogError, OSError) as error:
        print(f"changelog.py: {error}", file=sys.stderr)
        return 1

    if arguments.form == "debian":
        if not arguments.package or not arguments.maintainer:
            parser.error("debian needs --package and --maintainer")
        text = debian_changelog(releases, arguments.package, arguments.maintainer)
        # Best compression and no name or time in the header, as Debian's tools write it.
        with open(arguments.output, "wb") as raw:
            with gzip.GzipFile(filename="", mode="wb", fileobj=raw, compresslevel=9,
                               mtime=0) as compressed:
                compressed.write(text.encode("utf-8"))
    else:
        if not arguments.template:
            parser.error("metainfo needs --template")
        with open(arguments.template, encoding="utf-8") as file:
            template = file.read()
        values = {name: escape(value)
                  for name, value in (definition.split("=", 1) for definition in arguments.define)}
        values["RELEASES"] = metainfo_releases(releases)
        missing = sorted(set(re.findall(r"@(\w+)@", template)) - values.keys())
        if missing:
            print(f"changelog.py: {arguments.template}: no value for {', '.join(missing)}",
                  file=sys.stderr)
            return 1
        text = re.sub(r"@(\w+)@", lambda match: values[match.group(1)], template)
        with open(arguments.output, "w", encoding="utf-8") as file:
            file.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
