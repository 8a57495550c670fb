"""main_window/win32/tornevo.rc compiles with the MinGW resource compiler, and the compiled resource
carries the version block and the one 70 x 72 24-bit icon that Windows shows for Tornevo.exe.

Arguments: windres, the folder holding the generated tornevo_version.h and manifest, the .rc
file, the art folder, the project version (four numbers)."""
import pathlib
import subprocess
import sys
import tempfile
import unittest

from images import res_entries
from windows_resource_checks import VersionAndIconChecks

WINDRES, GENERATED, RC, ART, PROJECT_VERSION = sys.argv[1:6]
del sys.argv[1:6]


def compile_resource():
    with tempfile.TemporaryDirectory() as folder:
        res = pathlib.Path(folder) / "tornevo.res"
        subprocess.run([WINDRES, "-I", GENERATED, "-I", ART, "-O", "res", "-o", str(res), RC], check=True)
        return res.read_bytes()


class WindowsResource(VersionAndIconChecks, unittest.TestCase):
    project_version = PROJECT_VERSION
    resources = ART

    @classmethod
    def setUpClass(cls):
        cls.entries = res_entries(compile_resource())


if __name__ == "__main__":
    unittest.main(verbosity=2)
