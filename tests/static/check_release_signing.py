#!/usr/bin/env python3
"""A release made with a code-signing certificate and its key (a throwaway one, made here) has
Quillet.exe, in the zip as well, and the installer signed so that the signatures verify; the
Quillet.exe it was made from stays unsigned.

check_release_signing.py PYTHON MAKE_RELEASE.PY ARGUMENTS...   (make_release.py's, but --out-dir)
"""
import os
import subprocess
import sys
import tempfile
import zipfile


def verifies(path, certificate):
    return subprocess.run(["osslsigncode", "verify", "-CAfile", certificate, "-in", path],
                          capture_output=True).returncode == 0


def main():
    make_release = sys.argv[1:]
    unsigned = make_release[make_release.index("--exe") + 1]
    with tempfile.TemporaryDirectory() as work:
        key, certificate = os.path.join(work, "key.pem"), os.path.join(work, "certificate.pem")
        subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
                        "-subj", "/CN=Quillet throwaway", "-keyout", key, "-out", certificate],
                       check=True, capture_output=True)
        subprocess.run(make_release + ["--out-dir", work, "--sign-cert", certificate, "--sign-key", key], check=True)
        zip_path = next(os.path.join(work, name) for name in os.listdir(work) if name.endswith(".zip"))
        with zipfile.ZipFile(zip_path) as package:
            exe = next(name for name in package.namelist() if name.endswith("/Quillet.exe"))
            package.extract(exe, work)
        signed = [os.path.join(work, exe), zip_path[:-len(".zip")] + ".msi"]
        failures = [path for path in signed if not verifies(path, certificate)]
        if verifies(unsigned, certificate):
            failures.append(f"{unsigned} is signed")
    if failures:
        sys.exit("not signed as it should be: " + ", ".join(failures))
    print("Quillet.exe and the installer signed and verified; the build's own Quillet.exe unsigned")


if __name__ == "__main__":
    main()
