"""The installer as a user runs it, in a Wine prefix of its own that no other test has touched:
Quillet.exe, the user's README and the licence in the user's programs folder, a Start-menu and a
"Send to" shortcut to it, an entry in Apps & features, a "Convert to MP3" verb in Explorer's context
menu; the installed Quillet converts a file named on its command line, and the files that the verb
hands it at once or while it converts in one window; a higher version takes this one's place;
uninstalling leaves nothing behind."""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

from quillet_e2e import COMPLETE, PROGRAMS, QuilletTestCase, make_media, probe, wait_until, wine, windows_path

PRODUCT = "Quillet"
UNINSTALL = r"Software\Microsoft\Windows\CurrentVersion\Uninstall"
EXTENSION = r"HKCU\Software\Classes\SystemFileAssociations\.{}"
VERB = EXTENSION + r"\shell\Quillet.ConvertToMp3"
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


def registry_text(key):
    """The key's default text; None where there is no such key."""
    result = wine("reg", "query", key, "/ve")
    found = re.search(r"REG_SZ\s+(.*)", result.stdout.decode("utf-8", "replace"))
    return found.group(1).strip() if result.returncode == 0 and found else None


def verbs(extension):
    """The names of the verbs on a kind of file: the subkeys of its "shell" key."""
    listing = wine("reg", "query", EXTENSION.format(extension) + r"\shell").stdout.decode("utf-8", "replace")
    return [line.split("\\shell\\", 1)[1] for line in listing.splitlines()
            if line.startswith("HKEY_") and "\\shell\\" in line]


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

    def start_verb(self, command, path, environment):
        """Quillet started by the verb's command for the file, as Explorer starts it for each file selected."""
        program, argument = re.findall(r'"([^"]*)"', command)
        return self.start(argument.replace("%1", windows_path(path)), program=program, environment=environment)

    def assert_tip_lists(self, paths):
        status, blank, *lines = probe("tip")[1].split("\n")
        self.assertEqual((status, blank), (COMPLETE, ""))
        self.assertEqual(sorted(lines), sorted(f"{os.path.basename(path)}: converted" for path in paths))

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
        commands = {extension: registry_text(VERB.format(extension) + r"\command") for extension in VERB_EXTENSIONS}
        self.assertEqual({extension: command and command.lower() for extension, command in commands.items()},
                         dict.fromkeys(VERB_EXTENSIONS, f'"{program_path}" "%1"'.lower()))
        self.assertEqual(registry_text(VERB.format("mp4")), "Convert to MP3")
        self.assertIsNone(registry_text(VERB.format("mp3")), "a verb on MP3s, which Quillet only refuses")

        # With FFmpeg installed where a package manager puts it: on the PATH.
        ffmpeg = os.path.join(self.work, "ffmpeg", "bin")
        os.makedirs(ffmpeg)
        shutil.copy(os.environ["QUILLET_FFMPEG_EXE"], ffmpeg)
        source = os.path.join(self.media, "installed.wav")
        make_media(source, 1, video=False)
        self.assertEqual(self.convert(source, installed, {"WINEPATH": windows_path(ffmpeg)}), COMPLETE)
        self.assert_valid_mp3(os.path.splitext(source)[0] + ".mp3", 1)

        # Five files selected: Explorer starts the verb's command once for each, within milliseconds.
        environment = {"WINEPATH": windows_path(ffmpeg)}
        selected = [os.path.join(self.media, f"selected {n}.{extension}")
                    for n, extension in enumerate(VERB_EXTENSIONS + VERB_EXTENSIONS[:2])]
        for path in selected:
            make_media(path, 1, video=not path.endswith(".wav"))
        started = time.monotonic()
        runs = [self.start_verb(commands[path.rsplit(".", 1)[1]], path, environment) for path in selected]
        self.assertLess(time.monotonic() - started, 0.1)
        windows_seen = []

        def handed_over():
            windows_seen.append(int(probe("windows")[1]))
            return sum(run.process.poll() is not None for run in runs) == 4

        self.assertTrue(wait_until(handed_over, 60), "the other Quillets did not end")
        [window] = [run for run in runs if run.process.poll() is None]
        self.assertEqual([run.process.returncode for run in runs if run is not window], [0] * 4)
        self.assertEqual(window.wait_done(), COMPLETE)
        self.assertEqual((max(windows_seen), probe("windows")[1], probe("count", "Quillet.exe")[1]), (1, "1", "1"))
        self.assert_tip_lists(selected)
        for path in selected:
            self.assert_valid_mp3(os.path.splitext(path)[0] + ".mp3", 1)
        self.assertEqual(window.close(), 0)

        # Two more files while the window converts a long one: they join its list.
        long_one = os.path.join(self.media, "long.wav")
        make_media(long_one, 360, video=False)
        later = [os.path.join(self.media, name) for name in ("later 1.mp4", "later 2.mkv")]
        for path in later:
            make_media(path, 1)
        window = self.start_verb(commands["wav"], long_one, environment)
        self.assertEqual(window.probe("wait-busy", "60")[0], 0)
        others = [self.start_verb(commands[path.rsplit(".", 1)[1]], path, environment) for path in later]
        self.assertEqual([run.process.wait(timeout=60) for run in others], [0, 0])
        self.assertEqual((window.probe("wait-busy", "0")[0], probe("windows")[1]), (0, "1"))
        self.assertEqual(window.wait_done(), COMPLETE)
        self.assert_tip_lists([long_one] + later)

        # A program that is not Quillet hands nothing over.
        stranger = os.path.join(self.media, "stranger.wav")
        make_media(stranger, 1, video=False)
        self.assertEqual(probe("hand-over", windows_path(stranger))[0], 2)
        self.assertNotEqual(probe("wait-busy", "5")[0], 0)
        self.assertFalse(os.path.exists(os.path.splitext(stranger)[0] + ".mp3"))
        self.assert_tip_lists([long_one] + later)
        self.assertEqual(window.close(), 0)

        major, minor, patch = version.split(".")
        higher = f"{major}.{minor}.{int(patch) + 1}"
        self.msiexec("/i", higher)
        self.assertEqual([entry["DisplayVersion"] for entry in apps_and_features().values()], [higher])
        self.assertTrue(os.path.isfile(installed))
        self.assertEqual(verbs("mp4"), ["Quillet.ConvertToMp3"])

        # What was added to the verb later goes with it.
        wine("reg", "add", VERB.format("mp4"), "/v", "Added", "/d", "later", "/f")
        self.msiexec("/x", higher)
        self.assertEqual(apps_and_features(), {})
        for gone in [folder, os.path.dirname(folder)] + shortcuts:
            self.assertFalse(os.path.exists(gone), f"{gone} is left")
        for extension in VERB_EXTENSIONS:
            self.assertNotEqual(wine("reg", "query", EXTENSION.format(extension)).returncode, 0, f"{extension} is left")
