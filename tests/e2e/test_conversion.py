#!/usr/bin/env python3
"""End-to-end runs of the real Quillet.exe with the real ffmpeg.exe under Wine.

The test script provides the Wine prefix (WINEPREFIX), the display (DISPLAY) and the Windows
ffmpeg.exe (QUILLET_FFMPEG_EXE). Test media are made here with Debian's ffmpeg, and every MP3 is
checked with Debian's ffprobe.
"""
import argparse
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

OPTIONS = None
SETTINGS_KEY = r"HKCU\Software\VB and VBA Program Settings\Quillet\Settings"
COMPLETE = "Conversion complete! To download videos from YouTube, click here to get Tovrandel"
FAILED = "Conversion failed: "


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def wine(*args, timeout=180):
    return subprocess.run(["wine", *args], stdin=subprocess.DEVNULL, capture_output=True, timeout=timeout)


def probe(*args, timeout=300):
    result = wine(OPTIONS.probe, *args, timeout=timeout)
    return result.returncode, result.stdout.decode("utf-8", "replace").strip()


def make_media(path, seconds, video=True):
    """A clip made by Debian's ffmpeg: a test picture with a tone, or the tone alone."""
    inputs = ["-f", "lavfi", "-i", f"sine=frequency=440:duration={seconds}"]
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


class QuilletRun:
    """Quillet.exe started from the program folder with a command line, as a user starts it."""

    def __init__(self, program_folder, *arguments):
        self.process = subprocess.Popen(["wine", os.path.join(program_folder, "Quillet.exe"), *arguments],
                                        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)

    def wait_done(self, seconds=240):
        code, status = probe("wait-done", str(seconds), timeout=seconds + 60)
        return status if code == 0 else None

    def state(self):
        code, text = probe("state")
        return dict(line.split("=", 1) for line in text.splitlines() if "=" in line)

    def close(self):
        code, _ = probe("close", "60")
        self.process.wait(timeout=120)
        return code == 0

    def ensure_ended(self):
        if self.process.poll() is None:
            probe("close", "30")
        if self.process.poll() is None:
            self.process.kill()
        self.process.wait(timeout=60)


def window_icon_sizes(title):
    """The icon sizes that Wine gave the window's X11 counterpart, as a desktop shows them."""
    tree = subprocess.run(["xwininfo", "-root", "-tree"], capture_output=True, text=True).stdout
    window = next((line.split()[0] for line in tree.splitlines() if f'"{title}": (' in line), None)
    if window is None:
        return []
    icon = subprocess.run(["xprop", "-id", window, "_NET_WM_ICON"], capture_output=True, text=True).stdout
    return re.findall(r"Icon \((\d+) x \d+\)", icon)


class EndToEnd(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.mkdtemp(prefix="quillet-e2e-")
        # A program folder with blanks in its path, as under "Program Files".
        cls.program = os.path.join(cls.work, "Program Files", "Quillet Test")
        os.makedirs(cls.program)
        shutil.copy(OPTIONS.quillet, os.path.join(cls.program, "Quillet.exe"))
        shutil.copy(os.environ["QUILLET_FFMPEG_EXE"], os.path.join(cls.program, "ffmpeg.exe"))
        cls.media = os.path.join(cls.work, "My Videos")
        os.makedirs(cls.media)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.work, ignore_errors=True)

    def setUp(self):
        # Opening the MP3's folder would leave an explorer window behind; the option is tested apart.
        set_stored_option("0")

    def start(self, program, *arguments):
        run = QuilletRun(program, *arguments)
        self.addCleanup(run.ensure_ended)
        return run

    def convert(self, input_path, program=None):
        run = self.start(program or self.program, windows_path(input_path))
        status = run.wait_done()
        self.assertTrue(run.close(), "Quillet did not end when closed")
        return status

    def assert_valid_mp3(self, path, seconds):
        self.assertTrue(os.path.isfile(path), f"no MP3 at {path}")
        format_name, duration, codecs = media_info(path)
        self.assertEqual(format_name, "mp3")
        self.assertEqual(codecs, ["mp3"])
        self.assertAlmostEqual(duration, seconds, delta=0.3)

    def test_converts_videos_and_audio_beside_the_input(self):
        for name, video in [("clip with sound.mp4", True), ("tone.wav", False), ("Видео 東京 🎬.mkv", True)]:
            with self.subTest(name=name):
                source = os.path.join(self.media, name)
                make_media(source, 3, video)
                self.assertEqual(self.convert(source), COMPLETE)
                self.assert_valid_mp3(os.path.splitext(source)[0] + ".mp3", 3)

    def test_a_corrupt_input_is_reported_as_failed(self):
        source = os.path.join(self.media, "broken.avi")
        with open(source, "wb") as out:
            out.write(os.urandom(4096))
        status = self.convert(source)
        self.assertTrue(status and status.startswith(FAILED), status)
        self.assertIn("broken.avi", status)

    def test_a_missing_converter_is_reported_and_a_first_start_stores_the_option(self):
        program = os.path.join(self.work, "Without Converter")
        os.makedirs(program, exist_ok=True)
        shutil.copy(OPTIONS.quillet, os.path.join(program, "Quillet.exe"))
        source = os.path.join(self.media, "unconverted.mp4")
        make_media(source, 1)
        set_stored_option(None)
        status = self.convert(source, program)
        self.assertEqual(status, FAILED + "ffmpeg.exe was not found in the program's folder")
        self.assertEqual(stored_option(), "1")
        self.assertFalse(os.path.exists(os.path.splitext(source)[0] + ".mp3"))

    def test_closing_during_a_long_conversion_stops_the_converter(self):
        source = os.path.join(self.media, "long tone.wav")
        make_media(source, 600, video=False)
        run = self.start(self.program, windows_path(source))
        self.assertEqual(probe("wait-busy", "120")[0], 0)
        state = run.state()
        self.assertEqual(state.get("topmost"), "1")
        self.assertEqual(sorted(window_icon_sizes("Quillet"), key=int), ["16", "32"])
        self.assertEqual(state.get("command2"), "Converting Video. Please be patient.")
        self.assertEqual(probe("count", "ffmpeg.exe"), (0, "1"))
        self.assertTrue(run.close())
        for _ in range(50):
            if probe("count", "ffmpeg.exe") == (0, "0"):
                break
            time.sleep(0.2)
        self.assertEqual(probe("count", "ffmpeg.exe"), (0, "0"))
        self.assertEqual(probe("count", "Quillet.exe"), (0, "0"))


def main():
    global OPTIONS
    parser = argparse.ArgumentParser()
    parser.add_argument("--quillet", required=True)
    parser.add_argument("--probe", required=True)
    OPTIONS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0], "-v", *rest])


if __name__ == "__main__":
    main()
