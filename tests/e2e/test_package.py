"""The release package as a user gets it: unpacked into a folder of their choice, with ffmpeg.exe
put beside Quillet.exe, it converts a file; the program file tells the shell what it is."""
import os
import shutil
import zipfile

from quillet_e2e import COMPLETE, PROGRAMS, QuilletTestCase, make_media, probe, windows_path


class Package(QuilletTestCase):
    def test_the_unpacked_package_converts_with_ffmpeg_put_beside_it(self):
        version = PROGRAMS["version"]
        self.assertEqual(os.path.basename(PROGRAMS["package"]), f"Quillet-{version}-win32.zip")
        folder = os.path.join(self.work, "Downloads", "Quillet unpacked")
        with zipfile.ZipFile(PROGRAMS["package"]) as package:
            self.assertEqual(sorted(package.namelist()),
                             [f"Quillet-{version}/{name}" for name in ("LICENSE.txt", "Quillet.exe", "README.txt")])
            package.extractall(folder)
        program_folder = os.path.join(folder, f"Quillet-{version}")
        with open(os.path.join(program_folder, "README.txt"), "rb") as readme:
            text = readme.read()
        self.assertIn(f"Quillet {version}".encode(), text)
        self.assertIn(b"\r\n", text)
        for topic in (b"ffmpeg.exe", b"PATH", b"Send to", b"Open with", b"VB and VBA Program Settings"):
            self.assertIn(topic, text)

        quillet = os.path.join(program_folder, "Quillet.exe")
        code, properties = probe("version", windows_path(quillet))
        self.assertEqual(code, 0)
        self.assertIn("ProductName=Quillet", properties.splitlines())
        self.assertIn(f"FileVersion={version}", properties.splitlines())

        shutil.copy(os.environ["QUILLET_FFMPEG_EXE"], os.path.join(program_folder, "ffmpeg.exe"))
        source = os.path.join(self.media, "holiday.mp4")
        make_media(source, 2)
        self.assertEqual(self.convert(source, program=quillet), COMPLETE)
        self.assert_valid_mp3(os.path.join(self.media, "holiday.mp3"), 2)
