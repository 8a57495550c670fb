"""Builds the Debian package with CPack into a temporary folder and checks it with dpkg-deb
and lintian: its standard file name, control fields, dependencies, files and documentation.

Arguments: cpack, the build folder, the application id, the release version (1.0.0),
the source folder."""
import gzip
import os
import pathlib
import re
import subprocess
import sys
import tempfile
import unittest

import installed

CPACK, BUILD, APP_ID, RELEASE, SOURCE = sys.argv[1:6]
del sys.argv[1:6]
# From identity/identity.cmake, through CTest.
MAINTAINER = f"{os.environ['TORNEVO_COMPANY']} <{os.environ['TORNEVO_CONTACT']}>"
ICON_SIZES = [int(size) for size in os.environ["TORNEVO_ICON_SIZES"].split()]


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
            "Maintainer": MAINTAINER,
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
        self.assertEqual(files, {f"./usr/{name}" for name in installed.FILES})
        self.assertRegex(listing, r"(?m)^-rwxr-xr-x root/root .* \./usr/bin/tornevo$")

    def test_executable_is_stripped(self):
        with tempfile.TemporaryDirectory() as unpacked:
            subprocess.run(["dpkg-deb", "-x", self.package(), unpacked], check=True)
            description = output_of("file", "-b", str(pathlib.Path(unpacked) / "usr/bin/tornevo"))
        self.assertIn("ELF", description)
        self.assertRegex(description, r", stripped")

    def unpacked_file(self, relative):
        with tempfile.TemporaryDirectory() as unpacked:
            subprocess.run(["dpkg-deb", "-x", self.package(), unpacked], check=True)
            return (pathlib.Path(unpacked) / relative).read_bytes()

    def test_lintian_finds_no_errors_or_warnings(self):
        # Info tags are allowed and printed in the log; errors and warnings are faults.
        result = subprocess.run(["lintian", "--display-info", "--fail-on", "error,warning", self.package()],
                                capture_output=True, text=True)
        print(result.stdout, end="", file=sys.stderr)
        self.assertEqual([line for line in result.stdout.splitlines() if re.match(r"[EW]: ", line)], [])
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)

    def test_compressed_documents_are_reproducible(self):
        for relative in ("usr/share/doc/tornevo/changelog.gz", "usr/share/man/man1/tornevo.1.gz"):
            with self.subTest(file=relative):
                data = self.unpacked_file(relative)
                self.assertEqual(data[:3], b"\x1f\x8b\x08", "a gzip stream")
                self.assertEqual(data[3] & 0x08, 0, "no file name stored")
                self.assertEqual(data[4:8], bytes(4), "no time stored")
                self.assertTrue(gzip.decompress(data))

    def test_changelog_and_manual_page_carry_this_version(self):
        changelog = gzip.decompress(self.unpacked_file("usr/share/doc/tornevo/changelog.gz")).decode()
        self.assertRegex(changelog.splitlines()[0], rf"^tornevo \({re.escape(RELEASE)}\) \w+; urgency=\w+$")
        manual = gzip.decompress(self.unpacked_file("usr/share/man/man1/tornevo.1.gz")).decode()
        self.assertRegex(manual, r'(?m)^\.TH TORNEVO 1 "[0-9-]+" "Tornevo [0-9.]+"')
        self.assertNotIn("@", manual)

    def test_copyright_gives_the_licence_of_the_source_tree(self):
        copyright = self.unpacked_file("usr/share/doc/tornevo/copyright").decode()
        self.assertTrue(copyright.startswith(
            "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"))
        licence = (pathlib.Path(SOURCE) / "LICENSE").read_text()
        holder = re.search(r"(?m)^Copyright \(c\) (.+)$", licence).group(1)
        self.assertIn(f"\nCopyright: {holder}\n", copyright)
        # The licence paragraph is the text of LICENSE after its copyright line, in the
        # file's folded form: each line indented by one space, an empty line as " .".
        body = licence.split(f"Copyright (c) {holder}\n", 1)[1].strip("\n")
        folded = "\n".join(" " + line if line else " ." for line in body.splitlines())
        self.assertIn(f"\nLicense: Expat\n{folded}\n", copyright)


if __name__ == "__main__":
    unittest.main(verbosity=2)
