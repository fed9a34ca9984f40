"""The real Quillet.exe converting real media with the real ffmpeg.exe."""
import os
import shutil
import time

from quillet_e2e import (COMPLETE, FAILED, PROGRAMS, QuilletTestCase, make_media, probe, set_stored_option,
                         stored_option, window_icon_sizes, windows_path)


class Conversion(QuilletTestCase):
    def test_converts_videos_and_audio_beside_the_input(self):
        for name, video in [("clip with sound.mp4", True), ("tone.wav", False), ("Видео 東京 🎬.mkv", True)]:
            with self.subTest(name=name):
                source = os.path.join(self.media, name)
                make_media(source, 3, video)
                self.assertEqual(self.convert(source), COMPLETE)
                self.assert_valid_mp3(os.path.splitext(source)[0] + ".mp3", 3)

    def test_a_corrupt_input_is_reported_as_failed_in_ffmpegs_words(self):
        source = os.path.join(self.media, "broken.avi")
        with open(source, "wb") as out:
            out.write(os.urandom(4096))
        self.assertEqual(self.convert(source), FAILED + "Invalid data found when processing input")

    def test_a_missing_converter_is_reported_and_a_first_start_stores_the_option(self):
        program = self.make_program_folder("Without Converter")
        source = os.path.join(self.media, "unconverted.mp4")
        make_media(source, 1)
        set_stored_option(None)
        self.assertEqual(self.convert(source, program), FAILED + "ffmpeg.exe was not found in the program's folder")
        self.assertEqual(stored_option(), "1")
        self.assertFalse(os.path.exists(os.path.splitext(source)[0] + ".mp3"))

    def test_closing_during_a_long_conversion_stops_the_converter(self):
        source = os.path.join(self.media, "long tone.wav")
        make_media(source, 600, video=False)
        run = self.start(windows_path(source))
        self.assertEqual(probe("wait-busy", "120")[0], 0)
        state = run.state()
        self.assertEqual(state.get("topmost"), "1")
        self.assertEqual(sorted(window_icon_sizes("Quillet"), key=int), ["16", "32"])
        self.assertEqual(state.get("command2"), "Converting Video. Please be patient.")
        self.assertEqual(probe("count", "ffmpeg.exe"), (0, "1"))
        self.assertEqual(run.close(), 0)
        for _ in range(50):
            if probe("count", "ffmpeg.exe") == (0, "0"):
                break
            time.sleep(0.2)
        self.assertEqual(probe("count", "ffmpeg.exe"), (0, "0"))
        self.assertEqual(probe("count", "Quillet.exe"), (0, "0"))
