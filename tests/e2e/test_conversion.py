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

    def test_a_list_converted_at_once_gives_the_mp3s_of_one_after_another(self):
        """Several converters side by side make, byte for byte, the MP3s that one after another make."""
        sources = [os.path.join(self.media, name) for name in ("first.mp4", "second.wav", "third.mkv")]
        for seconds, source in enumerate(sources, start=4):
            make_media(source, seconds, video=not source.endswith(".wav"))
        mp3s = [os.path.splitext(source)[0] + ".mp3" for source in sources]
        one_after_another = []
        for source, mp3 in zip(sources, mp3s):
            self.assertEqual(self.convert(source), COMPLETE)
            with open(mp3, "rb") as made:
                one_after_another.append(made.read())
            os.remove(mp3)
        run = self.start(*(windows_path(source) for source in sources))
        self.assertEqual(run.wait_done(), COMPLETE)
        self.assertEqual(run.close(), 0)
        for mp3, expected in zip(mp3s, one_after_another):
            with open(mp3, "rb") as made:
                self.assertEqual(made.read(), expected, mp3)

    def test_a_corrupt_input_is_reported_as_failed_in_ffmpegs_words(self):
        source = os.path.join(self.media, "broken.avi")
        with open(source, "wb") as out:
            out.write(os.urandom(4096))
        self.assertEqual(self.convert(source), FAILED + "Invalid data found when processing input")

    def test_the_converter_on_the_path_and_none_at_all(self):
        """Without one beside Quillet, the PATH's is used, never one in the current folder or a relative
        entry; without one anywhere, the user is told where to put it. A first start stores the option."""
        program = self.make_program_folder("Without Converter")
        source = os.path.join(self.media, "unconverted.mp4")
        make_media(source, 1)
        set_stored_option(None)
        self.assertEqual(self.convert(source, program),
                         FAILED + f"ffmpeg.exe is neither beside Quillet (in {windows_path(os.path.dirname(program))}) "
                                  "nor on the PATH: put it there, or install FFmpeg with a package manager (winget, "
                                  "Scoop or Chocolatey), which puts it on the PATH")
        self.assertEqual(stored_option(), "1")
        self.assertFalse(os.path.exists(os.path.splitext(source)[0] + ".mp3"))

        installed = os.path.dirname(self.make_program_folder(os.path.join("FFmpeg", "bin"), os.environ["QUILLET_FFMPEG_EXE"]))
        os.remove(os.path.join(installed, "Quillet.exe"))
        downloads = os.path.dirname(self.make_program_folder("Downloads", PROGRAMS["stand_in"]))
        path = {"WINEPATH": f".;Downloads;{windows_path(installed)}"}
        self.assertEqual(self.convert(source, program, environment=path, folder=downloads), COMPLETE)
        self.assert_valid_mp3(os.path.splitext(source)[0] + ".mp3", 1)

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
