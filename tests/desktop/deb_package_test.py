"""Builds the Debian package with CPack into a temporary folder and checks it with dpkg-deb:
its standard file name, control fields, dependencies and files.

Arguments: cpack, the build folder, the application id, the release version (1.0.0)."""
import pathlib
import re
import subprocess
import sys
import tempfile
import unittest

CPACK, BUILD, APP_ID, RELEASE = sys.argv[1:5]
del sys.argv[1:5]


def output_of(*command):
    return subprocess.run(command, check=True, capture_output=True, text=True).stdout


class DebianPackage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory()
        result = subprocess.run([CPACK, "-G", "DEB", "--config", str(pathlib.Path(BUILD) / "CPackConfig.cmake"),
                                 "-B", cls.folder.name], capture_output=True, text=True)
        if result.returncode:
            raise AssertionError(f"cpack failed:\n{result.stdout}{result.stderr}")
        cls.packages = sorted(pathlib.Path(cls.folder.name).glob("*.deb"))
        cls.architecture = output_of("dpkg", "--print-architecture").strip()

    @classmethod
    def tearDownClass(cls):
        cls.folder.cleanup()

    def package(self):
        self.assertEqual(len(self.packages), 1, self.packages)
        return str(self.packages[0])

    def field(self, name):
        return output_of("dpkg-deb", "-f", self.package(), name).strip()

    def test_standard_file_name(self):
        self.assertEqual(pathlib.Path(self.package()).name, f"tornevo_{RELEASE}_{self.architecture}.deb")

    def test_control_fields(self):
        expected = {
            "Package": "tornevo",
            "Version": RELEASE,
            "Architecture": self.architecture,
            "Section": "science",
            "Maintainer": "Company <tornevo@example.com>",
        }
        for name, value in expected.items():
            with self.subTest(field=name):
                self.assertEqual(self.field(name), value)

    def test_description_has_a_synopsis_and_a_long_text(self):
        synopsis, *body = self.field("Description").splitlines()
        self.assertIn("RCF", synopsis)
        self.assertLessEqual(len(synopsis), 80)
        self.assertTrue(body, "a long description follows the synopsis")
        for line in body:
            with self.subTest(line=line):
                self.assertTrue(line.startswith(" "))
                self.assertLessEqual(len(line), 80)
        self.assertIn("centrifuge", " ".join(body))

    def test_depends_on_the_libraries_it_links_and_what_it_loads(self):
        names = {re.match(r"[a-z0-9.+-]+", item.strip()).group(0) for item in self.field("Depends").split(",")}
        # fonts-liberation2 and qt6-qpa-plugins are loaded at run time; the others come
        # from dpkg-shlibdeps reading the executable.
        for name in ("fonts-liberation2", "qt6-qpa-plugins", "libqt6widgets6", "libqt6core6", "libc6", "libstdc++6"):
            with self.subTest(package=name):
                self.assertIn(name, names)

    def test_files(self):
        listing = output_of("dpkg-deb", "-c", self.package())
        files = {line.split()[-1] for line in listing.splitlines() if not line.startswith("d")}
        expected = {
            "./usr/bin/tornevo",
            f"./usr/share/applications/{APP_ID}.desktop",
            f"./usr/share/metainfo/{APP_ID}.metainfo.xml",
            f"./usr/share/icons/hicolor/48x48/apps/{APP_ID}.png",
            f"./usr/share/icons/hicolor/64x64/apps/{APP_ID}.png",
            f"./usr/share/icons/hicolor/128x128/apps/{APP_ID}.png",
            f"./usr/share/icons/hicolor/scalable/apps/{APP_ID}.svg",
        }
        self.assertEqual(files, expected)
        self.assertRegex(listing, r"(?m)^-rwxr-xr-x root/root .* \./usr/bin/tornevo$")

    def test_executable_is_stripped(self):
        with tempfile.TemporaryDirectory() as unpacked:
            subprocess.run(["dpkg-deb", "-x", self.package(), unpacked], check=True)
            description = output_of("file", "-b", str(pathlib.Path(unpacked) / "usr/bin/tornevo"))
        self.assertIn("ELF", description)
        self.assertRegex(description, r", stripped")


if __name__ == "__main__":
    unittest.main(verbosity=2)
