"""Whatever a user points Quillet at, and whatever happens to the converter: the window ends idle
with a status that tells the truth, no file but the MP3 is created, changed or removed, and the
program never crashes."""
import os
import shutil
import subprocess
import time

from quillet_e2e import (COMPLETE, FAILED, PROGRAMS, START_STATUS, QuilletTestCase, make_media, probe, snapshot,
                         wine, windows_path)


class BadInput(QuilletTestCase):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.clip = os.path.join(cls.media, "clip.wav")
        make_media(cls.clip, 2, video=False)

    def setUp(self):
        super().setUp()
        for name in os.listdir(self.media):
            if name.endswith(".mp3"):
                os.remove(os.path.join(self.media, name))

    def assert_only_changes(self, before, allowed=()):
        after = snapshot(self.work)
        changed = {path for path in set(before) | set(after) if before.get(path) != after.get(path)}
        self.assertLessEqual(changed, set(allowed), "files created, changed or removed")

    def convert_expecting(self, argument, status_start, mp3=None, seconds=2, **kwargs):
        """Converts, checks the status and that nothing but the given MP3 changed; the status."""
        before = snapshot(self.work)
        status = self.convert(argument, **kwargs)
        self.assertTrue(status and status.startswith(status_start), status)
        self.assert_only_changes(before, [mp3] if mp3 else [])
        if mp3 and status == COMPLETE:
            self.assert_valid_mp3(mp3, seconds)
        return status

    def test_a_path_that_does_not_exist(self):
        status = self.convert_expecting(os.path.join(self.media, "not there.wav"), FAILED)
        self.assertIn("No such file or directory", status)

    def test_a_folder(self):
        folder = os.path.join(self.media, "a folder")
        os.makedirs(folder, exist_ok=True)
        self.convert_expecting(folder, FAILED)
        self.convert_expecting(windows_path(folder) + "\\", FAILED)

    def test_trailing_blanks(self):
        self.convert_expecting(windows_path(self.clip) + "  ", COMPLETE, os.path.join(self.media, "clip.mp3"))

    def test_two_quoted_paths_on_the_command_line_are_one_text_that_names_no_file(self):
        other = os.path.join(self.media, "other.wav")
        shutil.copy(self.clip, other)
        before = snapshot(self.work)
        run = self.start(f'"{windows_path(self.clip)}" "{windows_path(other)}"')
        status = run.wait_done()
        self.assertEqual(run.close(), 0)
        self.assertTrue(status.startswith(FAILED) and "No such file or directory" in status, status)
        self.assert_only_changes(before)

    def test_a_path_longer_than_260_characters(self):
        deep = os.path.join(self.media, *(["a folder with a long name " * 2] * 4))
        os.makedirs(deep, exist_ok=True)
        source = os.path.join(deep, "deep clip.wav")
        shutil.copy(self.clip, source)
        self.assertGreater(len(windows_path(source)), 260)
        self.convert_expecting(source, COMPLETE, os.path.join(deep, "deep clip.mp3"))

    def test_forward_slashes_and_the_long_path_prefix(self):
        mp3 = os.path.join(self.media, "clip.mp3")
        self.convert_expecting(windows_path(self.clip).replace("\\", "/"), COMPLETE, mp3)
        os.remove(mp3)
        self.convert_expecting("\\\\?\\" + windows_path(self.clip), COMPLETE, mp3)

    def test_an_empty_file_and_a_text_file_named_like_a_video(self):
        for name, content in [("empty.avi", b""), ("notes.avi", b"just some text\n")]:
            with self.subTest(name=name):
                source = os.path.join(self.media, name)
                with open(source, "wb") as out:
                    out.write(content)
                status = self.convert_expecting(source, FAILED)
                self.assertIn("Invalid data found when processing input", status)

    def test_an_output_folder_that_cannot_be_written(self):
        folder = os.path.join(self.work, "locked")
        os.makedirs(folder, exist_ok=True)
        source = os.path.join(folder, "clip.wav")
        shutil.copy(self.clip, source)
        if subprocess.run(["chattr", "+i", folder], capture_output=True).returncode != 0:
            self.skipTest("this file system cannot lock a folder")
        try:
            status = self.convert_expecting(source, FAILED)
        finally:
            subprocess.run(["chattr", "-i", folder], check=True)
        self.assertIn("clip.mp3", status)

    def test_an_output_file_open_in_another_program(self):
        mp3 = os.path.join(self.media, "clip.mp3")
        with open(mp3, "wb") as out:
            out.write(b"another program's file")
        holder = subprocess.Popen(["wine", PROGRAMS["stand_in"], "--hold", windows_path(mp3), "--sleep", "120000"],
                                  stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            time.sleep(3)
            self.convert_expecting(self.clip, FAILED)
        finally:
            probe("kill", "stand_in.exe")
            holder.wait(timeout=60)
        with open(mp3, "rb") as kept:
            self.assertEqual(kept.read(), b"another program's file")

    def test_an_existing_mp3_is_replaced(self):
        mp3 = os.path.join(self.media, "clip.mp3")
        with open(mp3, "wb") as out:
            out.write(b"an old, broken MP3")
        self.convert_expecting(self.clip, COMPLETE, mp3)

    def test_an_input_that_is_already_an_mp3_is_left_untouched(self):
        song = os.path.join(self.media, "song.MP3")
        make_media(song, 1, video=False)
        before = snapshot(self.work)
        run = self.start(windows_path(song))
        code, message = probe("dismiss-message", "120")
        self.assertEqual(code, 0)
        self.assertIn("already an MP3", message)
        state = run.state()
        self.assertEqual((state["status"], state["buttons_enabled"]), (START_STATUS, "11"))
        self.assertEqual(run.close(), 0)
        self.assert_only_changes(before)

    def test_a_converter_ended_from_outside_midway(self):
        source = os.path.join(self.media, "long.wav")
        make_media(source, 300, video=False)
        mp3 = os.path.join(self.media, "long.mp3")
        before = snapshot(self.work)
        run = self.start(windows_path(source))
        self.assertEqual(probe("wait-busy", "120")[0], 0)
        time.sleep(3)
        probe("kill", "ffmpeg.exe")
        status = run.wait_done(60)
        self.assertEqual(status, FAILED + "ffmpeg.exe stopped with exit code 1")
        self.assertEqual(run.state()["buttons_enabled"], "11")
        self.assertEqual(run.close(), 0)
        self.assert_only_changes(before, [mp3])
        os.remove(source)


class MisbehavingConverter(QuilletTestCase):
    """The stand-in converter in place of ffmpeg.exe, told what to do through its environment."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.program = cls.make_program_folder("Stand-in", PROGRAMS["stand_in"])
        cls.clip = os.path.join(cls.media, "clip.wav")
        make_media(cls.clip, 1, video=False)

    def test_a_converter_that_crashes(self):
        status = self.convert(self.clip, environment={"STAND_IN_OPTIONS": "--exit 0xC0000005"})
        self.assertEqual(status, FAILED + "ffmpeg.exe stopped with exit code 0xC0000005")

    def test_a_converter_that_fails_in_its_own_words(self):
        status = self.convert(self.clip, environment={"STAND_IN_OPTIONS": '--stderr "Unknown encoder" --exit 1'})
        self.assertEqual(status, FAILED + "Unknown encoder")

    def test_a_converter_that_never_ends_keeps_the_window_usable_until_closed(self):
        run = self.start(windows_path(self.clip), environment={"STAND_IN_OPTIONS": "--sleep 3600000"})
        self.assertEqual(probe("wait-busy", "120")[0], 0)
        time.sleep(2)
        started = time.monotonic()
        state = run.state()
        self.assertLess(time.monotonic() - started, 10, "the window stopped answering")
        self.assertEqual((state["command2"], state["buttons_enabled"]), ("Converting Video. Please be patient.", "00"))
        self.assertEqual(probe("count", "ffmpeg.exe"), (0, "1"))
        self.assertEqual(run.close(), 0)
        self.assertEqual(probe("count", "ffmpeg.exe"), (0, "0"))
