"""Fifty conversions in a row through the real window of one running Quillet: every MP3 valid, and
the program holds as many kernel handles, GDI objects and USER objects after the fiftieth as after
the first."""
import os
import shutil

from quillet_e2e import COMPLETE, QuilletTestCase, make_media, probe, windows_path

CONVERSIONS = 50


def resources():
    code, text = probe("resources")
    assert code == 0, text
    return dict(line.split("=", 1) for line in text.splitlines())


class Endurance(QuilletTestCase):
    def test_fifty_conversions_leak_nothing(self):
        program = self.make_program_folder("Counted", os.environ["QUILLET_FFMPEG_EXE"], quillet="counted")
        clip = os.path.join(self.media, "clip.wav")
        make_media(clip, 1, video=False)
        inputs = []
        for number in range(1, CONVERSIONS + 1):
            inputs.append(os.path.join(self.media, f"input {number:02}.wav"))
            shutil.copy(clip, inputs[-1])
        self.start(program=program)

        after_first = None
        for number, source in enumerate(inputs, start=1):
            code, status = probe("convert", windows_path(source), "120")
            self.assertEqual((code, status), (0, COMPLETE), f"conversion {number}")
            if number == 1:
                after_first = resources()
        after_last = resources()

        print(f"after the first: {after_first}; after the last: {after_last}")
        for kind in ("handles", "gdi_objects", "user_objects"):
            self.assertNotEqual(after_first[kind], "-1", f"{kind} could not be counted")
            self.assertEqual(after_last[kind], after_first[kind], kind)
        for source in inputs:
            self.assert_valid_mp3(os.path.splitext(source)[0] + ".mp3", 1)
