#!/usr/bin/env python3
"""Makes Quillet's release in OUT_DIR: Quillet-<version>-win32.zip, one folder holding Quillet.exe, the
user's README.txt and LICENSE.txt (texts with Windows line endings), and Quillet-<version>-win32.msi, the
same installed for one user (quillet.wxs.in). Two builds of one commit give the same bytes: every time
is the commit's (SOURCE_DATE_EPOCH where set), entries come in a fixed order, and the installer's codes
follow from its version and what it holds. Given a certificate and its key, Quillet.exe and the
installer are signed with osslsigncode. The installer's context-menu verb, "Convert to MP3", goes on
every kind of file that the "Add Video" dialog offers, as app/texts.h lists them, and names Quillet's
COM class, whose id runtime/quillet_class.h holds.

make_release.py --version V --exe Quillet.exe --icon ABC.ico --readme README.txt --license LICENSE
                --out-dir DIR [--sign-cert CERT.pem --sign-key KEY.pem]
"""
import argparse
import datetime
import hashlib
import math
import os
import re
import shutil
import string
import subprocess
import tempfile
import uuid
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
# Names every version of Quillet to Windows Installer, so that a newer one replaces an older one.
UPGRADE_CODE = uuid.UUID("6f737da0-af5f-413d-b864-ceb0680e630d")
PUBLISHER = "The Quillet developers"
# The earliest time a zip file can hold.
EARLIEST = 315532800
# Where the "Add Video" dialog's filter is written, once for the program and the installer.
TEXTS = os.path.join(HERE, "..", "app", "texts.h")
# Where Quillet's COM class id is written, once for the program and the installer.
CLASS_HEADER = os.path.join(HERE, "..", "runtime", "quillet_class.h")
# The context-menu verb of one kind of file, a DropTarget verb: Explorer creates the COM class that
# DropTarget\CLSID names and drops the whole selection on it at once ("Player": no limit for such a verb,
# where a command line is offered for at most 100 files and started once per file). A value "*" without
# data is Windows Installer's mark for a key made on install and removed whole, with whatever was added
# to it, on uninstall (wixl takes no RegistryKey Action); the "shell" and extension keys above it go
# where they are left empty.
VERB = string.Template("""\
              <RegistryValue Root="HKCU" Key="$key" Name="*" Type="string" Value=""/>
              <RegistryValue Root="HKCU" Key="$key" Type="string" Value="Convert to MP3"/>
              <RegistryValue Root="HKCU" Key="$key" Name="Icon" Type="string" Value="[INSTALLDIR]Quillet.exe,0"/>
              <RegistryValue Root="HKCU" Key="$key" Name="MultiSelectModel" Type="string" Value="Player"/>
              <RegistryValue Root="HKCU" Key="$key\\DropTarget" Name="CLSID" Type="string" Value="$class_id"/>
""")
VERB_KEY = r"Software\Classes\SystemFileAssociations\.{}\shell\Quillet.ConvertToMp3"


def source_date_epoch():
    """The commit's time: SOURCE_DATE_EPOCH, else the time of the checkout's last commit."""
    if os.environ.get("SOURCE_DATE_EPOCH"):
        return int(os.environ["SOURCE_DATE_EPOCH"])
    result = subprocess.run(["git", "-C", HERE, "log", "-1", "--format=%ct"], capture_output=True, text=True)
    return int(result.stdout.strip()) if result.returncode == 0 and result.stdout.strip() else EARLIEST


def windows_text(path, version):
    with open(path, encoding="utf-8") as source:
        text = source.read().replace("@VERSION@", version)
    return text.replace("\r\n", "\n").replace("\n", "\r\n").encode("utf-8")


def sign(path, cert, key, epoch, description):
    signed = path + ".signed"
    subprocess.run(["osslsigncode", "sign", "-certs", cert, "-key", key, "-n", description, "-time", str(epoch),
                    "-in", path, "-out", signed], check=True, stdout=subprocess.DEVNULL)
    os.replace(signed, path)


def stage(options, folder, epoch):
    """Quillet.exe (signed where asked), README.txt and LICENSE.txt in the folder, dated `epoch`."""
    shutil.copyfile(options.exe, os.path.join(folder, "Quillet.exe"))
    if options.sign_cert:
        sign(os.path.join(folder, "Quillet.exe"), options.sign_cert, options.sign_key, epoch, "Quillet")
    for name, source in (("README.txt", options.readme), ("LICENSE.txt", options.license)):
        with open(os.path.join(folder, name), "wb") as out:
            out.write(windows_text(source, options.version))
    shutil.copyfile(options.icon, os.path.join(folder, "Quillet.ico"))
    names = ["LICENSE.txt", "Quillet.exe", "README.txt"]
    for name in names + ["Quillet.ico"]:
        os.utime(os.path.join(folder, name), (epoch, epoch))
    return names


def make_zip(path, folder, names, version, epoch):
    stamp = datetime.datetime.fromtimestamp(max(epoch, EARLIEST), datetime.timezone.utc).timetuple()[:6]
    with zipfile.ZipFile(path, "w") as package:
        for name in names:
            entry = zipfile.ZipInfo(f"Quillet-{version}/{name}", date_time=stamp)
            entry.compress_type = zipfile.ZIP_DEFLATED
            entry.create_system = 0
            entry.external_attr = 0
            with open(os.path.join(folder, name), "rb") as content:
                package.writestr(entry, content.read())


def dialog_extensions():
    """The extensions of the dialog's first pattern list ("*.3g2;*.3gp;..."), each once, in its order. MP3
    is left out: Quillet can only refuse to convert an MP3 ("already an MP3")."""
    with open(TEXTS, encoding="utf-8") as header:
        literals = re.search(r"kDialogFilter\[\]\s*=((?:\s*L\"[^\"]*\")+);", header.read()).group(1)
    patterns = "".join(re.findall(r'L"([^"]*)"', literals)).split("|")[1].split(";")
    extensions = dict.fromkeys(pattern.removeprefix("*.").lower() for pattern in patterns)
    return [extension for extension in extensions if extension != "mp3"]


def quillet_class_id():
    """Quillet's COM class id as the registry spells it: "{B8D3B44E-...}"."""
    with open(CLASS_HEADER, encoding="utf-8") as header:
        text = re.search(r'kQuilletClassId\[\]\s*=\s*L"\{([^"}]*)\}"', header.read()).group(1)
    return "{" + str(uuid.UUID(text)).upper() + "}"


def context_menu_verbs(class_id):
    return "".join(VERB.substitute(key=VERB_KEY.format(extension), class_id=class_id)
                   for extension in dialog_extensions())


def make_msi(path, folder, names, version, epoch):
    contents = hashlib.sha256(version.encode())
    for name in names:
        with open(os.path.join(folder, name), "rb") as content:
            contents.update(content.read())
    class_id = quillet_class_id()
    size_kb = math.ceil(sum(os.path.getsize(os.path.join(folder, name)) for name in names) / 1024)
    with open(os.path.join(HERE, "quillet.wxs.in"), encoding="utf-8") as template:
        source = string.Template(template.read()).substitute(
            version=version, product_code=str(uuid.uuid5(UPGRADE_CODE, version)).upper(),
            upgrade_code=str(UPGRADE_CODE).upper(), publisher=PUBLISHER, size_kb=size_kb,
            class_id=class_id, context_menu_verbs=context_menu_verbs(class_id))
    with open(os.path.join(folder, "quillet.wxs"), "w", encoding="utf-8") as out:
        out.write(source)
    contents.update(source.encode())
    # wixl takes the time of day for the installer's dates and a random package code: both are set.
    when = datetime.datetime.fromtimestamp(epoch, datetime.timezone.utc).strftime("%Y-%m-%d %H:%M:%S")
    subprocess.run(["faketime", when, "wixl", "-o", path, "quillet.wxs"], cwd=folder, check=True,
                   env=dict(os.environ, TZ="UTC"), stderr=subprocess.DEVNULL)
    package_code = "{" + str(uuid.uuid5(UPGRADE_CODE, contents.hexdigest())).upper() + "}"
    subprocess.run(["msibuild", path, "-s", "Quillet", PUBLISHER, "Intel;1033", package_code], check=True)


def main():
    parser = argparse.ArgumentParser()
    for name in ("version", "exe", "icon", "readme", "license", "out-dir"):
        parser.add_argument(f"--{name}", required=True)
    parser.add_argument("--sign-cert")
    parser.add_argument("--sign-key")
    options = parser.parse_args()
    epoch = source_date_epoch()
    base = os.path.join(os.path.abspath(options.out_dir), f"Quillet-{options.version}-win32")
    with tempfile.TemporaryDirectory() as folder:
        names = stage(options, folder, epoch)
        make_zip(base + ".zip", folder, names, options.version, epoch)
        make_msi(base + ".msi", folder, names, options.version, epoch)
    if options.sign_cert:
        sign(base + ".msi", options.sign_cert, options.sign_key, epoch, "Quillet installer")


if __name__ == "__main__":
    main()
