"""Installs the build into a temporary DESTDIR and checks the desktop integration there:
the desktop entry and the AppStream metainfo pass their validators, and what they name exists.

Arguments: cmake, the build folder, the application id, the release version (1.0.0)."""
import configparser
import os
import pathlib
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ElementTree

import installed
from images import png_header

CMAKE, BUILD, APP_ID, RELEASE = sys.argv[1:5]
del sys.argv[1:5]
# From identity/identity.cmake, through CTest.
COMPANY = os.environ["TORNEVO_COMPANY"]
ICON_SIZES = [int(size) for size in os.environ["TORNEVO_ICON_SIZES"].split()]


def run(*command, **environment):
    result = subprocess.run(command, capture_output=True, text=True, env={**os.environ, **environment})
    return result.returncode, result.stdout + result.stderr


class InstalledFiles(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory()
        code, output = run(CMAKE, "--install", BUILD, "--prefix", "/usr", DESTDIR=cls.folder.name)
        if code:
            raise AssertionError(f"cmake --install failed:\n{output}")
        cls.root = pathlib.Path(cls.folder.name) / "usr"

    @classmethod
    def tearDownClass(cls):
        cls.folder.cleanup()

    def path(self, relative):
        return self.root / relative

    def test_desktop_entry_validates(self):
        entry = self.path(f"share/applications/{APP_ID}.desktop")
        code, output = run("desktop-file-validate", str(entry))
        self.assertEqual(code, 0, output)
        # Hints are advice (several main categories are intended: Education and Science);
        # errors and warnings are faults.
        self.assertNotRegex(output, r"(error|warning):", output)

    def test_desktop_entry_starts_the_installed_program_with_the_installed_icon(self):
        parser = configparser.ConfigParser(interpolation=None)
        parser.optionxform = str
        parser.read(self.path(f"share/applications/{APP_ID}.desktop"), encoding="utf-8")
        entry = parser["Desktop Entry"]
        self.assertEqual(entry["Name"], os.environ["TORNEVO_NAME"])
        self.assertTrue(entry["GenericName"] and entry["Comment"])
        self.assertEqual(entry["Exec"], "tornevo")
        self.assertTrue(os.access(self.path("bin/tornevo"), os.X_OK), "usr/bin/tornevo is installed and executable")
        self.assertEqual(entry["Icon"], APP_ID)
        categories = entry["Categories"].rstrip(";").split(";")
        self.assertIn("Science", categories)
        self.assertTrue({"Education", "Utility"} & set(categories))
        keywords = entry["Keywords"].rstrip(";").split(";")
        for keyword in ("centrifuge", "RCF", "RPM", "g-force"):
            with self.subTest(keyword=keyword):
                self.assertIn(keyword, keywords)

    def test_metainfo_validates(self):
        code, output = run("appstreamcli", "validate", "--no-net", str(self.path(f"share/metainfo/{APP_ID}.metainfo.xml")))
        self.assertEqual(code, 0, output)
        self.assertNotRegex(output, r"(?m)^[EW]:", output)

    def test_metainfo_describes_this_release(self):
        root = ElementTree.parse(self.path(f"share/metainfo/{APP_ID}.metainfo.xml")).getroot()
        self.assertEqual(root.get("type"), "desktop-application")
        self.assertEqual(root.findtext("id"), APP_ID)
        self.assertEqual(root.findtext("name"), os.environ["TORNEVO_NAME"])
        self.assertEqual(root.find("launchable").text, f"{APP_ID}.desktop")
        self.assertEqual([release.get("version") for release in root.iter("release")], [RELEASE])
        self.assertEqual(root.findtext("developer_name"), COMPANY)
        self.assertEqual(root.findtext("project_license"), "MIT")
        images = [image.text for image in root.iter("image")]
        self.assertEqual(len(images), 1)
        self.assertRegex(images[0], r"^https://www\.example\.com/.+\.png$")

    def test_hicolor_icons(self):
        self.assertTrue(ICON_SIZES)
        for size in ICON_SIZES:
            with self.subTest(size=size):
                icon = self.path(f"share/icons/hicolor/{size}x{size}/apps/{APP_ID}.png")
                width, height, _, _, _ = png_header(icon.read_bytes())
                self.assertEqual((width, height), (size, size))
        svg = self.path(f"share/icons/hicolor/scalable/apps/{APP_ID}.svg").read_text()
        self.assertRegex(svg, r'<svg [^>]*width="72" height="72"')

    def test_nothing_else_is_installed(self):
        found = sorted(str(path.relative_to(self.root)) for path in self.root.rglob("*") if not path.is_dir())
        self.assertEqual(found, installed.FILES)


if __name__ == "__main__":
    unittest.main(verbosity=2)
