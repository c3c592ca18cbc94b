# SPDX-License-Identifier: GPL-3.0-or-later
"""The whole help that help2man turns into a manual page, gathered from a program that prints
its help the way CLI11 does."""
import os
import stat
import subprocess
import sys
import tempfile
import textwrap
import unittest

SCRIPT = os.path.join(os.path.dirname(__file__), "..", "..", "packaging", "manual_help.py")

# A stand-in for a CLI11 program: `tool` with the commands `show` and `probability`, which has
# a command of its own, `merge`, and repeats the program's closing text as CLI11 does;
# `broken --help` fails.
FAKE_PROGRAM = textwrap.dedent('''\
    #!/usr/bin/env python3
    import sys
    helps = {
        ("--help",): """Tool: does things
    Usage: /some/folder/tool [OPTIONS] SUBCOMMAND

    Options:
      -h,--help                   Print this help message and exit
      --version                   Display program version information and exit

    Subcommands:
      show                        Print a file
      probability                 Sample the strengths
    %s

    Each command has its own --help.

    Exit status:
      0        done
      2        refused
    """,
        ("show", "--help"): """Print a file
    Usage: /some/folder/tool show [OPTIONS] file

    Positionals:
      file TEXT REQUIRED          Project file

    Options:
      -h,--help                   Print this help message and exit

    Output:
      --csv                       Comma-separated values
      --page TEXT:{figure,data}
                                  Page kind

    Needs a project that loads.
    """,
        ("probability", "--help"): """Sample the strengths
    Usage: /some/folder/tool probability [OPTIONS] SUBCOMMAND

    Options:
      -h,--help                   Print this help message and exit
      --seed INT                  The seed

    Subcommands:
      merge                       Merge the shards

    Each command has its own --help.

    Exit status:
      0        done
      2        refused
    """,
        ("probability", "merge", "--help"): """Merge the shards
    Usage: /some/folder/tool probability merge [OPTIONS] shards...

    Positionals:
      shards TEXT ... REQUIRED    Shard files

    """,
        ("--version",): "tool 5.0\\nCopyright (C) 2026 Someone.\\n",
    }
    broken = len(sys.argv) > 2 and sys.argv[1] == "--broken"
    arguments = tuple(sys.argv[2:] if broken else sys.argv[1:])
    if arguments == ("--help",):
        sys.stdout.write(helps[arguments] % ("  broken                      Fails" if broken else ""))
    elif arguments in helps:
        sys.stdout.write(helps[arguments])
    else:
        print("no such command", file=sys.stderr)
        sys.exit(109)
    ''')


class ManualHelpTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory()
        cls.program = os.path.join(cls.folder.name, "tool")
        with open(cls.program, "w", encoding="utf-8") as file:
            file.write(FAKE_PROGRAM)
        os.chmod(cls.program, stat.S_IRWXU)

    @classmethod
    def tearDownClass(cls):
        cls.folder.cleanup()

    def manual_help(self, *arguments):
        return subprocess.run([sys.executable, SCRIPT, *arguments], capture_output=True,
                              text=True, check=False)

    def test_every_command_gets_a_usage_and_a_subsection_with_its_lists_but_not_repeated_text(self):
        result = self.manual_help(self.program, "--help")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(
            result.stdout,
            textwrap.dedent("""\
                Usage: tool [OPTIONS] SUBCOMMAND
                   or: tool show [OPTIONS] file
                   or: tool probability [OPTIONS] SUBCOMMAND
                   or: tool probability merge [OPTIONS] shards...
                Tool: does things

                Options:
                  -h,--help                   Print this help message and exit
                  --version                   Display program version information and exit

                *Commands*
                show:
                  Print a file

                  file TEXT REQUIRED          Project file

                  -h,--help                   Print this help message and exit

                  Output:

                  --csv                       Comma-separated values
                  --page TEXT:{figure,data}
                                              Page kind

                  Needs a project that loads.

                probability:
                  Sample the strengths

                  -h,--help                   Print this help message and exit
                  --seed INT                  The seed

                probability merge:
                  Merge the shards

                  shards TEXT ... REQUIRED    Shard files

                Each command has its own --help.

                *Exit status*
                  0        done
                  2        refused
                """))

    def test_version_passes_through_unchanged(self):
        result = self.manual_help(self.program, "--version")
        self.assertEqual(result.stdout, "tool 5.0\nCopyright (C) 2026 Someone.\n")

    def test_a_command_whose_help_fails_fails_the_manual_page_instead_of_leaving_it_out(self):
        wrapper = os.path.join(self.folder.name, "broken-tool")
        with open(wrapper, "w", encoding="utf-8") as file:
            file.write(f"#!/bin/sh\nexec '{self.program}' --broken \"$@\"\n")
        os.chmod(wrapper, stat.S_IRWXU)
        result = self.manual_help(wrapper, "--help")
        self.assertEqual(result.returncode, 1)
        self.assertIn("broken --help' ended with 109: no such command", result.stderr)
        self.assertEqual(result.stdout, "")


if __name__ == "__main__":
    unittest.main()
