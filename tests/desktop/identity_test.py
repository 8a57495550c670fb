"""The product's identity is written once, in identity/identity.cmake: no other file of the
source tree may hold a copy of its contact lines, description, home page, application id,
release date or brand colours. Everything else takes them from what CMake generates.

Argument: the source folder."""
import pathlib
import re
import subprocess
import sys
import unittest

SOURCE = pathlib.Path(sys.argv.pop(1))
IDENTITY = SOURCE / "identity/identity.cmake"
# The values that must not be copied; the name, version and company are too short to tell
# a copy from an ordinary word.
CHECKED = ["TORNEVO_DESCRIPTION", "TORNEVO_HOMEPAGE", "TORNEVO_APP_ID", "TORNEVO_RELEASE_DATE", "TORNEVO_STREET",
           "TORNEVO_CITY", "TORNEVO_EMAIL", "TORNEVO_WEB_SITE", "TORNEVO_THEME_COLOUR", "TORNEVO_BACKGROUND_COLOUR"]


def identity():
    values = dict(re.findall(r'^set\((TORNEVO_\w+) "([^"]*)"\)', IDENTITY.read_text(), re.MULTILINE))
    return {name: values[name] for name in CHECKED}


def source_files():
    listed = subprocess.run(["git", "-C", str(SOURCE), "ls-files", "-z"], capture_output=True)
    if listed.returncode == 0:
        names = [name for name in listed.stdout.decode().split("\0") if name]
    else:  # an unpacked source tarball
        names = [str(path.relative_to(SOURCE)) for path in SOURCE.rglob("*")
                 if path.is_file() and "build" not in path.relative_to(SOURCE).parts[:1]]
    return [SOURCE / name for name in names if not name.startswith("tests/data/") and (SOURCE / name).is_file()]


class IdentityOnce(unittest.TestCase):
    def test_no_file_but_the_identity_holds_its_values(self):
        values = identity()
        copies = []
        for path in source_files():
            if path == IDENTITY:
                continue
            try:
                text = path.read_text(encoding="utf-8")
            except UnicodeDecodeError:
                continue  # a picture
            for name, value in values.items():
                if value.lower() in text.lower():
                    copies.append(f"{path.relative_to(SOURCE)}: {name} ({value})")
        self.assertEqual(copies, [], "\n" + "\n".join(copies) + "\n" + "copies of the identity; take them from identity/identity.cmake")


if __name__ == "__main__":
    unittest.main(verbosity=2)
