"""What the end-to-end tests share: running Quillet.exe and its probe under Wine, making media
with Debian's ffmpeg and checking MP3s with Debian's ffprobe.

The test script provides the Wine prefix (WINEPREFIX), the display (DISPLAY) and the Windows
ffmpeg.exe (QUILLET_FFMPEG_EXE); run.py names the programs under test and the Wine loader
(QUILLET_WINE: "wine", or Wine's 64-bit loader for a 64-bit prefix).
"""
import hashlib
import json
import os
import re
import shutil
import subprocess
import tempfile
import time
import unittest

# Set by run.py: paths of Quillet.exe, the probe, the stand-in converter, the counting test build, the
# release package, the installer and their version, a DLL to plant beside Quillet, and the source folder.
PROGRAMS = {}

SETTINGS_KEY = r"HKCU\Software\VB and VBA Program Settings\Quillet\Settings"
COMPLETE = "Conversion complete! To download videos from YouTube, click here to get Tovrandel"
FAILED = "Conversion failed: "
START_STATUS = "This App is Designed by www.example.com"


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def short_path(path):
    """The file's 8.3 path, as Explorer's "Send to" hands it over; Wine invents one for every file."""
    return wine("winepath", "-s", windows_path(path)).stdout.decode("utf-8").strip()


def wine_loader():
    return os.environ.get("QUILLET_WINE", "wine")


def wine(*args, timeout=180, env=None):
    """Runs a Windows program to its end. Its output goes through files, not pipes: a Wine process that
    the program starts (the desktop, say) may outlive it holding what it inherited."""
    with tempfile.TemporaryFile() as stdout, tempfile.TemporaryFile() as stderr:
        result = subprocess.run([wine_loader(), *args], stdin=subprocess.DEVNULL, stdout=stdout, stderr=stderr,
                                timeout=timeout, env=env)
        stdout.seek(0)
        stderr.seek(0)
        return subprocess.CompletedProcess(result.args, result.returncode, stdout.read(), stderr.read())


def probe(*args, timeout=300):
    result = wine(PROGRAMS["probe"], *args, timeout=timeout)
    return result.returncode, result.stdout.decode("utf-8", "replace").strip()


def wait_until(condition, seconds=30):
    deadline = time.monotonic() + seconds
    while not condition():
        if time.monotonic() > deadline:
            return False
        time.sleep(0.2)
    return True


def recycled(content):
    """Whether a file with this content is in the Recycle Bin, which Wine keeps as the desktop's trash."""
    trash = os.path.expanduser("~/.local/share/Trash/files")
    for name in os.listdir(trash) if os.path.isdir(trash) else []:
        with open(os.path.join(trash, name), "rb") as kept:
            if kept.read() == content:
                return True
    return False


def make_media(path, seconds, video=True, sound=True):
    """A clip made by Debian's ffmpeg: a test picture with a tone, the tone alone or the picture alone."""
    inputs = ["-f", "lavfi", "-i", f"sine=frequency=440:duration={seconds}"] if sound else []
    if video:
        inputs = ["-f", "lavfi", "-i", f"testsrc=size=160x120:rate=15:duration={seconds}"] + inputs
    subprocess.run(["ffmpeg", "-v", "error", "-y", *inputs, "-shortest", path], check=True)


def media_info(path):
    result = subprocess.run(["ffprobe", "-v", "error", "-show_entries", "format=format_name,duration:stream=codec_name",
                             "-of", "json", path], capture_output=True, check=True)
    info = json.loads(result.stdout)
    return info["format"]["format_name"], float(info["format"]["duration"]), [s["codec_name"] for s in info["streams"]]


def set_stored_option(value):
    if value is None:
        wine("reg", "delete", SETTINGS_KEY, "/f")
    else:
        wine("reg", "add", SETTINGS_KEY, "/v", "Options", "/d", value, "/f")


def stored_option():
    result = wine("reg", "query", SETTINGS_KEY, "/v", "Options")
    for line in result.stdout.decode("utf-8", "replace").splitlines():
        if "Options" in line:
            return line.split()[-1]
    return None


def window_icon_sizes(title):
    """The icon sizes that Wine gave the window's X11 counterpart, as a desktop shows them."""
    tree = subprocess.run(["xwininfo", "-root", "-tree"], capture_output=True, text=True).stdout
    window = next((line.split()[0] for line in tree.splitlines() if f'"{title}": (' in line), None)
    if window is None:
        return []
    icon = subprocess.run(["xprop", "-id", window, "_NET_WM_ICON"], capture_output=True, text=True).stdout
    return re.findall(r"Icon \((\d+) x \d+\)", icon)


def snapshot(folder):
    """Every file under the folder with a digest of its content."""
    files = {}
    for root, _, names in os.walk(folder):
        for name in names:
            path = os.path.join(root, name)
            with open(path, "rb") as content:
                files[path] = hashlib.sha1(content.read()).hexdigest()
    return files


class QuilletRun:
    """Quillet.exe started from its program folder with a command line, as a user starts it. The probe
    looks at this Quillet's window: the one that names the video on its command line."""

    def __init__(self, program, arguments, environment=None, folder=None, video=None):
        env = dict(os.environ, **(environment or {}))
        self.process = subprocess.Popen([wine_loader(), program, *arguments], stdin=subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=env, cwd=folder)
        video = video or (arguments[0].replace("/", "\\").split("\\")[-1] if arguments else None)
        self.video = ["--video", video] if video else []

    def probe(self, *args, timeout=300):
        return probe(*self.video, *args, timeout=timeout)

    def wait_done(self, seconds=240):
        code, status = self.probe("wait-done", str(seconds), timeout=seconds + 60)
        return status if code == 0 else None

    def state(self):
        _, text = self.probe("state")
        return dict(line.split("=", 1) for line in text.splitlines() if "=" in line)

    def close(self, how="close"):
        """Closes the window (or ends the session for it); the program's exit code, or None when it did
        not end."""
        self.probe(how, "60")
        try:
            return self.process.wait(timeout=120)
        except subprocess.TimeoutExpired:
            return None

    def ensure_ended(self):
        if self.process.poll() is None:
            self.probe("close", "30")
        if self.process.poll() is None:
            self.process.kill()
        self.process.wait(timeout=60)


class QuilletTestCase(unittest.TestCase):
    """A work folder with a program folder whose path has blanks, as under "Program Files", holding
    Quillet.exe and the real ffmpeg.exe, and a media folder."""

    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.mkdtemp(prefix="quillet-e2e-")
        cls.program = cls.make_program_folder(os.path.join("Program Files", "Quillet Test"),
                                              os.environ["QUILLET_FFMPEG_EXE"])
        cls.media = os.path.join(cls.work, "My Videos")
        os.makedirs(cls.media)

    @classmethod
    def tearDownClass(cls):
        subprocess.run(["chmod", "-R", "u+w", cls.work], capture_output=True)
        shutil.rmtree(cls.work, ignore_errors=True)

    @classmethod
    def make_program_folder(cls, name, converter=None, quillet="quillet"):
        folder = os.path.join(cls.work, name)
        os.makedirs(folder, exist_ok=True)
        shutil.copy(PROGRAMS[quillet], os.path.join(folder, "Quillet.exe"))
        if converter:
            shutil.copy(converter, os.path.join(folder, "ffmpeg.exe"))
        return os.path.join(folder, "Quillet.exe")

    def setUp(self):
        # Opening the MP3's folder would leave a file browser behind; that option is tested apart.
        set_stored_option("0")

    def start(self, *arguments, program=None, environment=None, folder=None, video=None):
        """Quillet started with the arguments; `video` names the file by which its window is found, where
        that is not the first argument's name."""
        run = QuilletRun(program or self.program, arguments, environment, folder, video)
        self.addCleanup(run.ensure_ended)
        return run

    def convert(self, input_path, program=None, environment=None, folder=None, video=None):
        """Starts Quillet with the path on its command line (from the folder, when given); the final
        status line once closed."""
        run = self.start(input_path if input_path.startswith(("Z:", "\\\\")) else windows_path(input_path),
                         program=program, environment=environment, folder=folder, video=video)
        status = run.wait_done()
        self.assertEqual(run.close(), 0, "Quillet did not end normally when closed")
        return status

    def assert_valid_mp3(self, path, seconds):
        self.assertTrue(os.path.isfile(path), f"no MP3 at {path}")
        format_name, duration, codecs = media_info(path)
        self.assertEqual(format_name, "mp3")
        self.assertEqual(codecs, ["mp3"])
        self.assertAlmostEqual(duration, seconds, delta=0.3)
