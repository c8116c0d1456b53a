"""Run a Windows program under Wine inside a harness session; exit with its code.

Used as CMake's cross-compiling emulator, so every Windows test program gets the
test run's prefix, a private display and clean-up of whatever it left running.
"""

import os
import sys

from harness import Session


def main(argv):
    if len(argv) < 2:
        print("usage: wine_run.py PROGRAM [ARGS...]", file=sys.stderr)
        return 2
    with Session(1024, 768, env={"WINEDEBUG": "-all"}) as s:
        p = s.start(argv[1], *argv[2:], cwd=os.getcwd(), quiet=False)
        # Let the program's console output through: contract tests print to it.
        code = p.wait(600)
        return 124 if code is None else code


if __name__ == "__main__":
    sys.exit(main(sys.argv))
