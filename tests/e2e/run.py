#!/usr/bin/env python3
"""Runs end-to-end test modules against the built programs, as the ordinary user that the test
script names (QUILLET_E2E_USER) in that user's Wine prefix (QUILLET_USER_PREFIX), when there is one.

run.py --quillet Q --probe P --stand-in S --counted C --package ZIP --version V MODULE...
"""
import argparse
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import quillet_e2e  # noqa: E402


def run_as_test_user():
    user = os.environ.get("QUILLET_E2E_USER")
    if user and os.geteuid() == 0:
        # Debian's own Python, which every user may run.
        os.execvp("runuser", ["runuser", "-u", user, "--", "env", f"WINEPREFIX={os.environ['QUILLET_USER_PREFIX']}",
                              "/usr/bin/python3", *sys.argv])


def main():
    run_as_test_user()
    parser = argparse.ArgumentParser()
    for name in ("quillet", "probe", "stand-in", "counted", "package", "version"):
        parser.add_argument(f"--{name}", required=True)
    parser.add_argument("modules", nargs="+")
    options = parser.parse_args()
    quillet_e2e.PROGRAMS.update(quillet=options.quillet, probe=options.probe, stand_in=options.stand_in,
                                counted=options.counted, package=options.package, version=options.version)
    suite = unittest.defaultTestLoader.loadTestsFromNames(options.modules)
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    sys.exit(0 if result.wasSuccessful() else 1)


if __name__ == "__main__":
    main()
