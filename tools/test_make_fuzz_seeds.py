#!/usr/bin/env python3
"""Self-test of make_fuzz_seeds.py: its commands give the same result however they are scheduled.

The commands run under 'set -o pipefail'. A pipe whose reader stops before its writer is done (a
converter keeping only part of a picture) kills the writer with SIGPIPE, and that fails the command
or not by the order in which the two processes ran: on 2 busy cores it failed where 8 idle ones
passed. So no command may hand a picture on through a pipe.
"""

import os
import shlex
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_fuzz_seeds  # noqa: E402


def shell_operators(command):
    lexer = shlex.shlex(command, posix=True, punctuation_chars=True)
    lexer.whitespace_split = True
    return [token for token in lexer if token and set(token) <= set("|&;<>()")]


class ShellOperators(unittest.TestCase):
    """The check's own reading of a command: a pipe is told from '||' and from quoted text."""

    def test_cases(self):
        cases = [
            ("a | b > c", ["|", ">"]),
            ("a|b", ["|"]),
            ("a > x && b x > y", [">", "&&", ">"]),
            ("a || b", ["||"]),
            ("convert -draw 'text 0,0 \"|\"' x.gif", []),
            ("a |& b", ["|&"]),
        ]
        for command, operators in cases:
            with self.subTest(command=command):
                self.assertEqual(shell_operators(command), operators)


class Recipes(unittest.TestCase):
    def test_no_command_hands_a_picture_on_through_a_pipe(self):
        for target, (_, recipes) in sorted(make_fuzz_seeds.FORMATS.items()):
            for name, command in recipes:
                with self.subTest(target=target, file=name):
                    pipes = [op for op in shell_operators(command) if op in ("|", "|&")]
                    self.assertEqual(pipes, [], f"'{command}' pipes a picture on; write a file instead")


if __name__ == "__main__":
    unittest.main()
