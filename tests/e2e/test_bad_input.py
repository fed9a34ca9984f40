"""Whatever a user points Quillet at, and whatever happens to the converter: the window ends idle
with a status that tells the truth, no file but the MP3 is created, changed or removed, and the
program never crashes."""
import os
import shutil
import socket
import subprocess
import time

from quillet_e2e import (COMPLETE, FAILED, PROGRAMS, START_STATUS, QuilletTestCase, make_media, probe, recycled,
                         short_path, snapshot, wait_until, wine_loader, windows_path)


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

    def convert_expecting(self, argument, status_start, mp3=None, seconds=2, allowed=(), **kwargs):
        """Converts, checks the status and that nothing but the given MP3 (and what else is allowed)
        changed; the status."""
        before = snapshot(self.work)
        status = self.convert(argument, **kwargs)
        self.assertTrue(status and status.startswith(status_start), status)
        self.assert_only_changes(before, ([mp3] if mp3 else []) + list(allowed))
        if mp3 and status == COMPLETE:
            self.assert_valid_mp3(mp3, seconds)
        return status

    def test_a_path_that_does_not_exist(self):
        for missing in (os.path.join(self.media, "not there.wav"), os.path.join(self.media, "no folder", "x.wav")):
            status = self.convert_expecting(missing, FAILED)
            self.assertIn("No such file or directory", status)

    def test_a_folder(self):
        folder = os.path.join(self.media, "a folder")
        os.makedirs(folder, exist_ok=True)
        self.convert_expecting(folder, FAILED)
        self.convert_expecting(windows_path(folder) + "\\", FAILED)

    def test_trailing_blanks(self):
        self.convert_expecting(windows_path(self.clip) + "  ", COMPLETE, os.path.join(self.media, "clip.mp3"),
                               video="clip.wav")

    def test_several_files_handed_over_at_once_are_each_converted(self):
        """As "Send to" passes them: quoted long names, or unquoted 8.3 names (each MP3 under the name the
        user sees); one that fails stops none of the rest."""
        other = os.path.join(self.media, "other.wav")
        shutil.copy(self.clip, other)
        broken = os.path.join(self.media, "broken.avi")
        with open(broken, "wb") as out:
            out.write(b"not a video")
        video, track = os.path.join(self.media, "first video.mp4"), os.path.join(self.media, "second track.wav")
        make_media(video, 2)
        shutil.copy(self.clip, track)
        cases = [([windows_path(self.clip), windows_path(broken), windows_path(other)], [self.clip, other],
                  FAILED + "1 of 3 files; broken.avi: Invalid data found when processing input"),
                 ([short_path(video), short_path(track)], [video, track], COMPLETE)]
        for arguments, converted, expected in cases:
            with self.subTest(arguments=arguments):
                mp3s = [os.path.splitext(path)[0] + ".mp3" for path in converted]
                before = snapshot(self.work)
                run = self.start(*arguments, video=os.path.basename(converted[0]))
                status = run.wait_done()
                self.assertEqual(run.close(), 0)
                self.assertEqual(status, expected)
                self.assert_only_changes(before, mp3s)
                for mp3 in mp3s:
                    self.assert_valid_mp3(mp3, 2)

    def test_what_is_no_file_on_this_computer_or_a_share_reaches_no_converter(self):
        listener = socket.socket()
        listener.bind(("127.0.0.1", 0))
        listener.listen()
        listener.setblocking(False)
        texts = (f"http://127.0.0.1:{listener.getsockname()[1]}/x.wav", "concat:a.wav|b.wav", "pipe:0", "-x.wav")
        for text in texts:
            with self.subTest(text=text):
                before = snapshot(self.work)
                run = self.start(text)
                code, message = probe("dismiss-message", "120")
                self.assertEqual(code, 0)
                self.assertEqual(message, "Quillet converts files on this computer or a network share. This is not "
                                          "one of them:\n\n" + text)
                state = run.state()
                self.assertEqual((state["status"], state["buttons_enabled"]), (START_STATUS, "11"))
                self.assertEqual(run.close(), 0)
                self.assert_only_changes(before)
        with self.assertRaises(BlockingIOError, msg="the converter connected to the address"):
            listener.accept()
        listener.close()

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

    def test_what_is_not_a_video_with_sound_is_reported_with_the_reason_in_view(self):
        invalid = "Invalid data found when processing input"
        cases = [("empty.avi", b"", invalid),
                 (os.path.join("Downloads", "My Holiday Videos 2026", "Beach day (1080p).mp4"), b"not a video", invalid),
                 ("silent film.mp4", None, "silent film.mp4 has no sound to make an MP3 of")]
        for name, content, reason in cases:
            with self.subTest(name=name):
                source = os.path.join(self.media, name)
                os.makedirs(os.path.dirname(source), exist_ok=True)
                if content is None:
                    make_media(source, 2, sound=False)
                else:
                    with open(source, "wb") as out:
                        out.write(content)
                before = snapshot(self.work)
                run = self.start(windows_path(source))
                self.assertEqual(run.wait_done(), FAILED + reason)
                self.assertIn(reason, run.state()["status_visible"])
                self.assertEqual(run.close(), 0)
                self.assert_only_changes(before)

    def test_an_output_folder_that_cannot_be_written(self):
        folder = os.path.join(self.work, "locked")
        os.makedirs(folder, exist_ok=True)
        source = os.path.join(folder, "clip.wav")
        shutil.copy(self.clip, source)
        os.chmod(folder, 0o555)
        try:
            status = self.convert_expecting(source, FAILED)
        finally:
            os.chmod(folder, 0o755)
        # The system's own words follow: "Access is denied." on Windows, "Access denied." under Wine.
        self.assertTrue(status.startswith(FAILED + "clip.mp3 cannot be written in its folder: Access"), status)

    def test_an_mp3_that_cannot_be_replaced_stays_and_the_new_one_is_kept_beside_it(self):
        mp3 = os.path.join(self.media, "clip.mp3")
        kept = os.path.join(self.media, "clip (2).mp3")

        def hold():
            holder = subprocess.Popen([wine_loader(), PROGRAMS["stand_in"], "--hold", windows_path(mp3), "--sleep", "120000"],
                                      stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            self.assertTrue(wait_until(lambda: probe("count", "stand_in.exe") == (0, "1")))
            time.sleep(1)
            return lambda: (probe("kill", "stand_in.exe"), holder.wait(timeout=60))

        def make_read_only():
            os.chmod(mp3, 0o444)
            return lambda: os.chmod(mp3, 0o644)

        for reason, lock in [("it is open in another program", hold), ("it is read-only", make_read_only)]:
            with self.subTest(reason=reason):
                with open(mp3, "wb") as out:
                    out.write(b"another program's file")
                unlock = lock()
                try:
                    status = self.convert_expecting(self.clip, FAILED, allowed=[kept])
                finally:
                    unlock()
                self.assertEqual(status, FAILED + f"clip.mp3 could not be replaced: {reason}. The new MP3 is clip (2).mp3")
                with open(mp3, "rb") as untouched:
                    self.assertEqual(untouched.read(), b"another program's file")
                self.assert_valid_mp3(kept, 2)
                os.remove(kept)

    def test_an_existing_mp3_is_replaced_and_can_be_restored(self):
        """Also while a virus scanner holds the new MP3 for six seconds after the converter has ended,
        when the window goes on answering all the while."""
        mp3 = os.path.join(self.media, "clip.mp3")
        for what, watcher in [("nothing else", None), ("a scanner on the new MP3", mp3 + ".part")]:
            with self.subTest(what):
                old = f"an old, broken MP3 {time.time()}".encode()
                with open(mp3, "wb") as out:
                    out.write(old)
                if watcher:
                    scanner = subprocess.Popen([wine_loader(), PROGRAMS["stand_in"], "--linger", "6000", "--scan",
                                                windows_path(watcher)], stdin=subprocess.DEVNULL,
                                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                    self.assertTrue(wait_until(lambda: probe("count", "stand_in.exe") == (0, "1")))
                before = snapshot(self.work)
                run = self.start(windows_path(self.clip))
                if watcher:
                    self.assertEqual(run.probe("wait-busy", "120")[0], 0)
                    self.assertTrue(wait_until(lambda: probe("count", "ffmpeg.exe") == (0, "0")))
                    self.assertEqual(probe("count", "stand_in.exe"), (0, "1"), "the scanner let go too soon")
                    self.assertEqual(run.probe("answers", "1000")[0], 0, "the window did not answer within a second")
                status = run.wait_done()
                self.assertEqual(run.close(), 0)
                self.assertEqual(status, COMPLETE)
                self.assert_only_changes(before, [mp3])
                self.assert_valid_mp3(mp3, 2)
                self.assertTrue(recycled(old), "the replaced MP3 is not in the Recycle Bin")
                if watcher:
                    scanner.wait(timeout=60)

    def test_a_dll_planted_beside_quillet_is_never_loaded(self):
        """Quillet run from Downloads, beside a DLL that bears the open-file dialog's name and that Wine
        is told to prefer to its own, as Windows' search order would take it from the program's folder."""
        program = self.make_program_folder("Downloads", os.environ["QUILLET_FFMPEG_EXE"])
        downloads = os.path.dirname(program)
        shutil.copy(PROGRAMS["planted"], os.path.join(downloads, "comdlg32.dll"))
        run = self.start(program=program, environment={"WINEDLLOVERRIDES": "comdlg32=n,b;mscoree,mshtml="})
        self.assertEqual(probe("cancel-dialog", "120")[0], 0, "the open-file dialog did not open")
        self.assertEqual(run.close(), 0)
        self.assertFalse(os.path.exists(os.path.join(downloads, "planted DLL was loaded")))

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

    def test_a_conversion_cut_short_leaves_no_mp3_and_the_earlier_one_as_it_was(self):
        """However a conversion ends early, the MP3 of the same name from before stays byte for byte and
        no truncated file takes its name. Closing Quillet stops nothing but its own converter: another
        Quillet with a window of its own converts on to the end, and a user's own ffmpeg.exe runs on."""
        source = os.path.join(self.media, "long.wav")
        mp3 = os.path.join(self.media, "long.mp3")
        earlier = b"an earlier long.mp3, perhaps of another video"
        other = os.path.join(self.media, "another Quillet's.wav")
        other_mp3 = os.path.splitext(other)[0] + ".mp3"
        make_media(other, 300, video=False)
        foreign = os.path.join(self.work, "tools", "ffmpeg.exe")
        os.makedirs(os.path.dirname(foreign), exist_ok=True)
        shutil.copy(PROGRAMS["stand_in"], foreign)
        # What happens, and what it may leave: Quillet ended from outside cannot tidy up after itself.
        cases = [("the converter fails", []), ("the input is cut short", []), ("the window is closed", []),
                 ("the session ends", []), ("Quillet is ended from outside", [mp3 + ".part"])]
        for what, left in cases:
            with self.subTest(what):
                make_media(source, 300, video=False)
                with open(mp3, "wb") as out:
                    out.write(earlier)
                before = snapshot(self.work)
                run = self.start(windows_path(source))
                self.assertEqual(run.probe("wait-busy", "120")[0], 0)
                if what == "the converter fails":
                    time.sleep(2)
                    probe("kill", "ffmpeg.exe")
                    self.assertEqual(run.wait_done(60), FAILED + "ffmpeg.exe stopped with exit code 1")
                    self.assertEqual(run.close(), 0)
                elif what == "the input is cut short":
                    # Once the converter has read the input's length and begun the MP3.
                    self.assertTrue(wait_until(lambda: os.path.getsize(mp3 + ".part") > 0))
                    os.truncate(source, os.path.getsize(source) // 2)
                    status = run.wait_done(240)
                    self.assertTrue(status.startswith(FAILED + "the MP3 stops at ") and status.endswith(" of 5:00"),
                                    status)
                    self.assertEqual(run.close(), 0)
                else:
                    user_job = subprocess.Popen([wine_loader(), foreign, "--sleep", "600000"], stdin=subprocess.DEVNULL,
                                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                    self.addCleanup(user_job.kill)
                    # Started with files, a second Quillet would hand them to the first: this one has a
                    # window of its own, and converts what is put in it.
                    second = self.start(video=os.path.basename(other))
                    self.assertEqual(probe("click-convert", windows_path(other), "120")[0], 0)
                    self.assertEqual(second.probe("wait-busy", "120")[0], 0)
                    self.assertTrue(wait_until(lambda: probe("count", "ffmpeg.exe") == (0, "3")))
                    if what == "Quillet is ended from outside":
                        run.probe("terminate")
                    else:
                        self.assertEqual(run.close("close" if what == "the window is closed" else "end-session"), 0)
                    self.assertEqual(second.wait_done(240), COMPLETE)
                    self.assertEqual(second.close(), 0)
                    self.assertEqual(probe("count", "ffmpeg.exe"), (0, "1"), "the user's own ffmpeg.exe was stopped")
                    probe("kill", "ffmpeg.exe")
                    user_job.wait(timeout=60)
                    self.assert_valid_mp3(other_mp3, 300)
                self.assertTrue(wait_until(lambda: probe("count", "ffmpeg.exe") == (0, "0")))
                with open(mp3, "rb") as kept:
                    self.assertEqual(kept.read(), earlier)
                self.assert_only_changes(before, [source, other_mp3] + left)
                for leftover in [other_mp3] + left:
                    if os.path.exists(leftover):
                        os.remove(leftover)
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
