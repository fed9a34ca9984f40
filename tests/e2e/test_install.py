"""The installer as a user runs it, in a Wine prefix of its own that no other test has touched:
Quillet.exe, the user's README and the licence in the user's programs folder, a Start-menu and a
"Send to" shortcut to it, an entry in Apps & features, a "Convert to MP3" verb in Explorer's context
menu that names Quillet's COM class, and the class, for the user alone; the installed Quillet converts
a file named on its command line; a higher version takes this one's place; uninstalling leaves nothing
behind."""
import os
import re
import shutil
import subprocess
import sys
import tempfile

from quillet_e2e import COMPLETE, PROGRAMS, QuilletTestCase, make_media, probe, wine, windows_path

PRODUCT = "Quillet"
UNINSTALL = r"Software\Microsoft\Windows\CurrentVersion\Uninstall"
EXTENSION = r"HKCU\Software\Classes\SystemFileAssociations\.{}"
VERB = EXTENSION + r"\shell\Quillet.ConvertToMp3"
CLASS = r"HKCU\Software\Classes\CLSID\{}"
# Three of the kinds of file that the verb is on.
VERB_EXTENSIONS = ("mp4", "wav", "mkv")


def shortcut_target(path):
    """The file a shell link names: the local base path of its LinkInfo."""
    with open(path, "rb") as link:
        data = link.read()
    flags = int.from_bytes(data[20:24], "little")
    at = 76 + (2 + int.from_bytes(data[76:78], "little") if flags & 0x1 else 0)
    info = data[at:]
    base = int.from_bytes(info[16:20], "little")
    return info[base:info.index(b"\0", base)].decode("latin-1")


def apps_and_features():
    """Quillet's entries in Apps & features (Wine keeps them in HKLM, Windows in HKCU): their values by
    product code."""
    entries = {}
    for root in ("HKCU", "HKLM"):
        listing = wine("reg", "query", f"{root}\\{UNINSTALL}", "/s").stdout.decode("utf-8", "replace")
        for block in filter(None, (block.strip() for block in listing.split("\r\n\r\n"))):
            key, *lines = block.splitlines()
            values = {line.split()[0]: line.split(None, 2)[-1] for line in lines if len(line.split()) >= 3}
            if values.get("DisplayName") == PRODUCT:
                entries[key.rsplit("\\", 1)[-1]] = values
    return entries


def registry_text(key, name=None):
    """The text of the key's value of that name, or of its default; None where the key or that value is missing."""
    result = wine("reg", "query", key, *(("/v", name) if name else ("/ve",)))
    found = re.search(r"REG_SZ\s+(.*)", result.stdout.decode("utf-8", "replace"))
    return found.group(1).strip() if result.returncode == 0 and found else None


def subkeys(key):
    """The names of the key's subkeys."""
    listing = wine("reg", "query", key).stdout.decode("utf-8", "replace")
    tail = key.split("\\", 1)[1].lower() + "\\"
    return [line.rsplit("\\", 1)[1] for line in listing.splitlines()
            if line.startswith("HKEY_") and tail in line.lower()]


def quillet_class_id():
    """The class id that runtime/quillet_class.h gives Quillet."""
    with open(os.path.join(PROGRAMS["source"], "runtime", "quillet_class.h"), encoding="utf-8") as header:
        return re.search(r"\{[0-9A-Fa-f-]{36}\}", header.read()).group(0).upper()


class Install(QuilletTestCase):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.prefix = tempfile.mkdtemp(prefix="quillet-install-")
        shutil.rmtree(cls.prefix)
        shutil.copytree(os.environ["QUILLET_USER_PREFIX_TEMPLATE"], cls.prefix, symlinks=True)
        cls.session_prefix = os.environ["WINEPREFIX"]
        os.environ["WINEPREFIX"] = cls.prefix

    @classmethod
    def tearDownClass(cls):
        subprocess.run(["wineserver", "-k"], capture_output=True)
        os.environ["WINEPREFIX"] = cls.session_prefix
        shutil.rmtree(cls.prefix, ignore_errors=True)
        super().tearDownClass()

    def installer(self, version):
        """The release's installer of this build, or one made for a higher version by the same script."""
        if version == PROGRAMS["version"]:
            return PROGRAMS["installer"]
        source = PROGRAMS["source"]
        subprocess.run([sys.executable, os.path.join(source, "packaging", "make_release.py"), "--version", version,
                        "--exe", PROGRAMS["quillet"], "--icon", os.path.join(source, "resources", "abc.ico"),
                        "--readme", os.path.join(source, "packaging", "README.txt"),
                        "--license", os.path.join(source, "LICENSE"), "--out-dir", self.work], check=True)
        return os.path.join(self.work, f"Quillet-{version}-win32.msi")

    def msiexec(self, action, version):
        result = wine("msiexec", action, windows_path(self.installer(version)), "/qn", timeout=600)
        self.assertEqual(result.returncode, 0, result.stderr.decode("utf-8", "replace"))

    def test_install_convert_upgrade_uninstall(self):
        profile = os.path.join(self.prefix, "drive_c", "users", os.environ.get("USER", "quillet-tests"))
        folder = os.path.join(profile, "AppData", "Local", "Programs", "Quillet")
        menus = os.path.join(profile, "AppData", "Roaming", "Microsoft", "Windows")
        shortcuts = [os.path.join(menus, "Start Menu", "Programs", "Quillet.lnk"),
                     os.path.join(menus, "SendTo", "Quillet.lnk")]
        installed = os.path.join(folder, "Quillet.exe")
        version = PROGRAMS["version"]

        self.msiexec("/i", version)
        self.assertEqual(sorted(os.listdir(folder)), ["LICENSE.txt", "Quillet.exe", "README.txt"])
        with open(installed, "rb") as program, open(PROGRAMS["quillet"], "rb") as built:
            self.assertEqual(program.read(), built.read())
        program_path = "C:" + installed.split("drive_c", 1)[1].replace("/", "\\")
        for shortcut in shortcuts:
            self.assertEqual(shortcut_target(shortcut).lower(), program_path.lower(), shortcut)
        entries = apps_and_features()
        self.assertEqual(len(entries), 1, entries)
        code, entry = next(iter(entries.items()))
        self.assertEqual((entry["DisplayVersion"], entry["Publisher"]), (version, "The Quillet developers"))
        self.assertGreater(int(entry["Size"]), 100)
        self.assertTrue(os.path.isfile(os.path.join(profile, "AppData", "Roaming", "Microsoft", "Installer", code,
                                                    "Quillet.ico")), "no icon for Apps & features")
        class_key = CLASS.format(quillet_class_id())
        # A DropTarget verb: Explorer creates the class once for the whole selection. A command line left
        # beside it would be offered for at most 100 files and started once per file; as a "Document" verb
        # it would be offered for at most 15.
        found = {extension: (subkeys(VERB.format(extension)),
                             registry_text(VERB.format(extension) + r"\DropTarget", "CLSID"),
                             registry_text(VERB.format(extension), "MultiSelectModel"))
                 for extension in VERB_EXTENSIONS}
        self.assertEqual(found, dict.fromkeys(VERB_EXTENSIONS, (["DropTarget"], quillet_class_id(), "Player")))
        self.assertEqual(registry_text(VERB.format("mp4")), "Convert to MP3")
        server = registry_text(class_key + r"\LocalServer32")
        self.assertEqual((registry_text(class_key), server and server.lower()), ("Quillet", f'"{program_path}"'.lower()))
        self.assertIsNone(registry_text(VERB.format("mp3")), "a verb on MP3s, which Quillet only refuses")

        # With FFmpeg installed where a package manager puts it: on the PATH.
        ffmpeg = os.path.join(self.work, "ffmpeg", "bin")
        os.makedirs(ffmpeg)
        shutil.copy(os.environ["QUILLET_FFMPEG_EXE"], ffmpeg)
        source = os.path.join(self.media, "installed.wav")
        make_media(source, 1, video=False)
        self.assertEqual(self.convert(source, installed, {"WINEPATH": windows_path(ffmpeg)}), COMPLETE)
        self.assert_valid_mp3(os.path.splitext(source)[0] + ".mp3", 1)

        # "Convert to MP3" on a selection of 150 files, as Explorer makes it: one activation of the class
        # and one drop of them all. COM starts the installed Quillet for it. Wine 8 starts a class's
        # LocalServer32 only from the machine's classes, where Windows merges the user's into
        # HKEY_CLASSES_ROOT: the user's class key copied there stands in for that view.
        machine_class = "HKLM" + class_key[len("HKCU"):]
        wine("reg", "copy", class_key, machine_class, "/s", "/f")
        shutil.copy(os.environ["QUILLET_FFMPEG_EXE"], folder)
        selected = [os.path.join(self.media, f"selected {n:03}.wav") for n in range(150)]
        for path in selected:
            make_media(path, 1, video=False)
        self.assertEqual(probe("drop", *map(windows_path, selected))[0], 0)
        # Two more while the list converts join it, sent as "Send to" does: Quillet started with them ends
        # once the window has them. The window names the first file of its list.
        later = [os.path.join(self.media, name) for name in ("later 1.mp4", "later 2.mkv")]
        for path in later:
            make_media(path, 1)
        self.assertEqual(wine(installed, *map(windows_path, later), timeout=60).returncode, 0)
        self.assertRegex(probe("state")[1], r"title=Quillet - \d+ of 152\r?\n")
        self.assertEqual(probe("--video", "selected 000.wav", "wait-done", "600", timeout=700), (0, COMPLETE))
        self.assertEqual((probe("windows")[1], probe("count", "Quillet.exe")[1]), ("1", "1"))
        for path in selected + later:
            self.assertTrue(os.path.getsize(os.path.splitext(path)[0] + ".mp3") > 0, path)
        self.assertEqual(probe("close", "60")[0], 0)

        # A drop that comes while the window closes goes to the window after it.
        long_one, late = os.path.join(self.media, "long.wav"), os.path.join(self.media, "late.wav")
        make_media(long_one, 300, video=False)
        make_media(late, 1, video=False)
        self.assertEqual(probe("drop", windows_path(long_one))[0], 0)
        self.assertEqual(probe("wait-busy", "60")[0], 0)
        probe("--video", "long.wav", "close", "0")
        self.assertEqual(probe("drop", windows_path(late))[0], 0)
        self.assertEqual(probe("--video", "late.wav", "wait-done", "120"), (0, COMPLETE))
        self.assert_valid_mp3(os.path.splitext(late)[0] + ".mp3", 1)
        self.assertFalse(os.path.exists(os.path.splitext(long_one)[0] + ".mp3"))
        self.assertEqual(probe("close", "60")[0], 0)
        self.assertEqual(probe("count", "Quillet.exe")[1], "0")
        os.remove(os.path.join(folder, "ffmpeg.exe"))
        wine("reg", "delete", machine_class, "/f")

        major, minor, patch = version.split(".")
        higher = f"{major}.{minor}.{int(patch) + 1}"
        self.msiexec("/i", higher)
        self.assertEqual([entry["DisplayVersion"] for entry in apps_and_features().values()], [higher])
        self.assertTrue(os.path.isfile(installed))
        self.assertEqual(subkeys(EXTENSION.format("mp4") + r"\shell"), ["Quillet.ConvertToMp3"])

        # What was added to the verb and the class later goes with them.
        for key in (VERB.format("mp4"), class_key):
            wine("reg", "add", key, "/v", "Added", "/d", "later", "/f")
        self.msiexec("/x", higher)
        self.assertEqual(apps_and_features(), {})
        for gone in [folder, os.path.dirname(folder)] + shortcuts:
            self.assertFalse(os.path.exists(gone), f"{gone} is left")
        for extension in VERB_EXTENSIONS:
            self.assertNotEqual(wine("reg", "query", EXTENSION.format(extension)).returncode, 0, f"{extension} is left")
        self.assertNotEqual(wine("reg", "query", class_key).returncode, 0, "the class is left")
