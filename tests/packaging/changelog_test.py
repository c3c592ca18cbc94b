# SPDX-License-Identifier: GPL-3.0-or-later
"""CHANGELOG.md turned into the Debian changelog and the AppStream releases."""
import gzip
import os
import subprocess
import sys
import tempfile
import textwrap
import unittest

SCRIPT = os.path.join(os.path.dirname(__file__), "..", "..", "packaging", "changelog.py")
MAINTAINER = "Dorvo developers <dorvo@example.invalid>"

TWO_RELEASES = textwrap.dedent("""\
    # Changelog

    An introduction that may be as long as it likes, since no package carries this text.

    ## 5.1 (2027-01-15)

    - A change with `code` that goes on
      over a second line.
    - Another change.

    ## 5.0 (2026-12-08)

    - The first release.
    """)


class ChangelogTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.addCleanup(self.folder.cleanup)

    def path(self, name):
        return os.path.join(self.folder.name, name)

    def convert(self, changelog_text, *arguments):
        with open(self.path("CHANGELOG.md"), "w", encoding="utf-8") as file:
            file.write(changelog_text)
        return subprocess.run([sys.executable, SCRIPT, *arguments[:1], self.path("CHANGELOG.md"),
                               *arguments[1:]], capture_output=True, text=True, check=False)

    def debian(self, changelog_text, version="5.1"):
        return self.convert(changelog_text, "debian", "--version", version, "--package", "dorvo",
                            "--maintainer", MAINTAINER, "-o", self.path("changelog.gz"))

    def test_debian_changelog_has_an_entry_per_version_newest_first_in_debians_own_parser(self):
        result = self.debian(TWO_RELEASES)
        self.assertEqual(result.returncode, 0, result.stderr)
        with gzip.open(self.path("changelog.gz"), "rt", encoding="utf-8") as file:
            text = file.read()
        self.assertIn("  * A change with code that goes on\n    over a second line.\n", text)
        entries = subprocess.run(["dpkg-parsechangelog", "-l", self.path("changelog.gz"),
                                  "--format", "rfc822", "--all"], capture_output=True, text=True,
                                 check=True).stdout
        self.assertEqual([line for line in entries.splitlines() if line.startswith("Version:")],
                         ["Version: 5.1", "Version: 5.0"])
        latest = subprocess.run(["dpkg-parsechangelog", "-l", self.path("changelog.gz")],
                                capture_output=True, text=True, check=True).stdout
        self.assertIn("Source: dorvo", latest)
        self.assertIn(f"Maintainer: {MAINTAINER}", latest)
        self.assertIn("Date: Fri, 15 Jan 2027 12:00:00 +0000", latest)

    def test_compressed_without_name_or_time_so_rebuilds_are_identical(self):
        self.assertEqual(self.debian(TWO_RELEASES).returncode, 0)
        with open(self.path("changelog.gz"), "rb") as file:
            header = file.read(10)
        self.assertEqual(header[3] & 0x08, 0, "no file name")
        self.assertEqual(header[4:8], b"\0\0\0\0", "no time")
        self.assertEqual(header[8], 2, "best compression")

    def test_refuses_a_newest_version_other_than_the_projects(self):
        result = self.debian(TWO_RELEASES, version="5.2")
        self.assertEqual(result.returncode, 1)
        self.assertIn("the newest version is 5.1, the project's is 5.2", result.stderr)
        self.assertFalse(os.path.exists(self.path("changelog.gz")))

    def test_refuses_what_would_not_make_a_valid_debian_changelog(self):
        cases = {
            "an item line that would pass Debian's 80 columns":
                "## 5.1 (2027-01-15)\n\n- " + "x" * 77 + "\n",
            "a heading without its date": "## 5.1\n\n- A change.\n",
            "an impossible date": "## 5.1 (2027-02-30)\n\n- A change.\n",
            "text that is no item": "## 5.1 (2027-01-15)\n\nA loose sentence.\n",
            "a version without changes": "## 5.1 (2027-01-15)\n\n## 5.0 (2026-12-08)\n\n- A.\n",
            "no version at all": "# Changelog\n\nNothing yet.\n",
        }
        for what, text in cases.items():
            with self.subTest(what):
                result = self.debian(text)
                self.assertEqual(result.returncode, 1, result.stderr)
                self.assertTrue(result.stderr.startswith("changelog.py: "), result.stderr)

    def test_metainfo_gets_every_release_and_escaped_values(self):
        with open(self.path("in.xml"), "w", encoding="utf-8") as file:
            file.write("<c><id>@ID@</id><url>@URL@</url><releases>\n@RELEASES@\n</releases></c>")
        result = self.convert(TWO_RELEASES, "metainfo", "--version", "5.1", "--template",
                              self.path("in.xml"), "--define", "ID=a.b.c", "--define",
                              "URL=https://x.invalid/?a=1&b=2", "-o", self.path("out.xml"))
        self.assertEqual(result.returncode, 0, result.stderr)
        with open(self.path("out.xml"), encoding="utf-8") as file:
            self.assertEqual(
                file.read(),
                "<c><id>a.b.c</id><url>https://x.invalid/?a=1&amp;b=2</url><releases>\n"
                '    <release version="5.1" date="2027-01-15"/>\n'
                '    <release version="5.0" date="2026-12-08"/>\n</releases></c>')

    def test_metainfo_refuses_a_placeholder_without_its_value(self):
        with open(self.path("in.xml"), "w", encoding="utf-8") as file:
            file.write("<c>@ID@ @RELEASES@</c>")
        result = self.convert(TWO_RELEASES, "metainfo", "--version", "5.1", "--template",
                              self.path("in.xml"), "-o", self.path("out.xml"))
        self.assertEqual(result.returncode, 1)
        self.assertIn("no value for ID", result.stderr)


if __name__ == "__main__":
    unittest.main()
