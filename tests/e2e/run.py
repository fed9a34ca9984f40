#!/usr/bin/env python3
"""Runs end-to-end test modules against the built programs.

run.py --quillet Q --probe P --stand-in S --counted C --package ZIP --version V MODULE...
"""
import argparse
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import quillet_e2e  # noqa: E402


def main():
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
