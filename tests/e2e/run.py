#!/usr/bin/env python3
"""Runs end-to-end test modules against the built programs, as the ordinary user that the test
script names (QUILLET_E2E_USER) in that user's Wine prefix, when there is one. With --windows 64,
the prefix is a 64-bit one (QUILLET_USER_PREFIX64), run by Wine's 64-bit loader (QUILLET_WINE64),
and the converter is the 64-bit ffmpeg.exe (QUILLET_FFMPEG64_EXE), as on today's PCs.

run.py [--windows 32|64] --quillet Q --probe P --stand-in S --counted C --package ZIP --installer MSI --version V
       --planted DLL --source DIR MODULE...
"""
import argparse
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import quillet_e2e  # noqa: E402


def run_as_test_user(windows):
    user = os.environ.get("QUILLET_E2E_USER")
    if user and os.geteuid() == 0:
        prefix = os.environ["QUILLET_USER_PREFIX64" if windows == "64" else "QUILLET_USER_PREFIX"]
        # Debian's own Python, which every user may run.
        os.execvp("runuser", ["runuser", "-u", user, "--", "env", f"WINEPREFIX={prefix}", f"WINEARCH=win{windows}",
                              "/usr/bin/python3", *sys.argv])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--windows", choices=("32", "64"), default="32")
    for name in ("quillet", "probe", "stand-in", "counted", "package", "installer", "version", "planted", "source"):
        parser.add_argument(f"--{name}", required=True)
    parser.add_argument("modules", nargs="+")
    options = parser.parse_args()
    run_as_test_user(options.windows)
    if options.windows == "64":
        os.environ.update(QUILLET_FFMPEG_EXE=os.environ["QUILLET_FFMPEG64_EXE"], QUILLET_WINE=os.environ["QUILLET_WINE64"])
    quillet_e2e.PROGRAMS.update(quillet=options.quillet, probe=options.probe, stand_in=options.stand_in,
                                counted=options.counted, package=options.package, installer=options.installer,
                                version=options.version, planted=options.planted, source=options.source)
    suite = unittest.defaultTestLoader.loadTestsFromNames(options.modules)
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    sys.exit(0 if result.wasSuccessful() else 1)


if __name__ == "__main__":
    main()
