#!/usr/bin/env python3
"""Makes the release package: Quillet-<version>-win32.zip with one folder holding Quillet.exe, the
user's README.txt and LICENSE.txt, the texts with Windows line endings.

make_package.py --version V --exe Quillet.exe --readme README.txt --license LICENSE --out ZIP
"""
import argparse
import zipfile


def windows_text(path, version):
    with open(path, encoding="utf-8") as source:
        text = source.read().replace("@VERSION@", version)
    return text.replace("\r\n", "\n").replace("\n", "\r\n").encode("utf-8")


def main():
    parser = argparse.ArgumentParser()
    for name in ("version", "exe", "readme", "license", "out"):
        parser.add_argument(f"--{name}", required=True)
    options = parser.parse_args()
    folder = f"Quillet-{options.version}"
    with zipfile.ZipFile(options.out, "w", zipfile.ZIP_DEFLATED) as package:
        package.write(options.exe, f"{folder}/Quillet.exe")
        package.writestr(f"{folder}/README.txt", windows_text(options.readme, options.version))
        package.writestr(f"{folder}/LICENSE.txt", windows_text(options.license, options.version))


if __name__ == "__main__":
    main()
