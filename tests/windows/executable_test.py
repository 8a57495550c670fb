"""Reads Tornevo.exe back: a GUI program for the machine it was built for, importing only
Windows's own DLLs, with its manifest, the version block and the one 70 x 72 24-bit icon.

Arguments: the executable, the target processor (x86_64 or i686), the art folder,
the project version (four numbers)."""
import os
import pathlib
import struct
import sys
import unittest
import xml.etree.ElementTree as ElementTree

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "desktop"))
from windows_resource_checks import RT_MANIFEST, VersionAndIconChecks  # noqa: E402

EXECUTABLE, PROCESSOR, RESOURCES, PROJECT_VERSION = sys.argv[1:5]
del sys.argv[1:5]

# (COFF machine, optional header magic) for each processor we build for.
MACHINES = {"x86_64": (0x8664, 0x20B), "i686": (0x014C, 0x10B)}
IMAGE_SUBSYSTEM_WINDOWS_GUI = 2
# DLLs that come with Windows. The MinGW runtime's (libstdc++-6, libgcc_s_*, libwinpthread-1)
# are not among them: the program links its runtime in.
SYSTEM_DLLS = {
    "advapi32.dll", "comctl32.dll", "comdlg32.dll", "dwmapi.dll", "gdi32.dll", "gdiplus.dll",
    "imm32.dll", "kernel32.dll", "msvcrt.dll", "ole32.dll", "oleacc.dll", "oleaut32.dll",
    "shcore.dll", "shell32.dll", "shlwapi.dll", "user32.dll", "uxtheme.dll", "version.dll",
    "windowscodecs.dll",
}


class PortableExecutable:
    """Just enough of the PE format: the headers, the imported DLLs and the resources."""

    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise ValueError("not an MZ executable")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe : pe + 4] != b"PE\0\0":
            raise ValueError("no PE signature")
        self.machine, sections, _, _, _, optional_size, _ = struct.unpack_from("<HHIIIHH", data, pe + 4)
        optional = pe + 24
        self.magic = struct.unpack_from("<H", data, optional)[0]
        self.subsystem = struct.unpack_from("<H", data, optional + 68)[0]
        directories = optional + (96 if self.magic == 0x10B else 112)
        self.directories = [struct.unpack_from("<II", data, directories + 8 * i) for i in range(16)]
        self.sections = [struct.unpack_from("<IIII", data, optional + optional_size + 40 * i + 8)
                         for i in range(sections)]

    def offset(self, rva):
        for virtual_size, address, raw_size, raw_at in self.sections:
            if address <= rva < address + max(virtual_size, raw_size):
                return raw_at + rva - address
        raise ValueError(f"address {rva:#x} lies in no section")

    def text_at(self, rva):
        at = self.offset(rva)
        return self.data[at : self.data.index(b"\0", at)].decode("ascii")

    def imported_dlls(self):
        rva, _ = self.directories[1]
        names, at = [], self.offset(rva)
        while True:
            lookup, _, _, name, thunks = struct.unpack_from("<5I", self.data, at)
            if not (lookup or name or thunks):
                return names
            names.append(self.text_at(name))
            at += 20

    def resources(self):
        """(type, name, language, data) for each resource; ids are ints, names strings."""
        root_rva, size = self.directories[2]
        if not size:
            return []
        root = self.offset(root_rva)

        def entries(directory):
            named, numbered = struct.unpack_from("<HH", self.data, directory + 12)
            for i in range(named + numbered):
                key, target = struct.unpack_from("<II", self.data, directory + 16 + 8 * i)
                if key & 0x80000000:
                    at = root + (key & 0x7FFFFFFF)
                    length = struct.unpack_from("<H", self.data, at)[0]
                    key = self.data[at + 2 : at + 2 + 2 * length].decode("utf-16-le")
                yield key, root + (target & 0x7FFFFFFF), bool(target & 0x80000000)

        found = []
        for kind, names, _ in entries(root):
            for name, languages, _ in entries(names):
                for language, leaf, _ in entries(languages):
                    rva, size = struct.unpack_from("<II", self.data, leaf)
                    found.append((kind, name, language, self.data[self.offset(rva) : self.offset(rva) + size]))
        return found


def local_name(element):
    return element.tag.rpartition("}")[2]


class WindowsExecutable(VersionAndIconChecks, unittest.TestCase):
    project_version = PROJECT_VERSION
    resources = RESOURCES

    @classmethod
    def setUpClass(cls):
        cls.exe = PortableExecutable(pathlib.Path(EXECUTABLE).read_bytes())
        cls.entries = cls.exe.resources()

    def test_a_gui_program_for_its_processor(self):
        self.assertEqual((self.exe.machine, self.exe.magic), MACHINES[PROCESSOR])
        self.assertEqual(self.exe.subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI)

    def test_imports_only_the_dlls_of_windows(self):
        imports = {name.lower() for name in self.exe.imported_dlls()}
        self.assertIn("kernel32.dll", imports)
        self.assertEqual(sorted(imports - SYSTEM_DLLS), [], "DLLs that do not come with Windows")

    def test_manifest(self):
        manifests = self.of_type(RT_MANIFEST)
        self.assertEqual([entry[1] for entry in manifests], [1], "one manifest, the one Windows reads at start")
        root = ElementTree.fromstring(manifests[0][3])
        elements = {}
        for element in root.iter():
            elements.setdefault(local_name(element), []).append(element)

        common_controls = [identity.attrib for identity in elements["assemblyIdentity"]
                           if identity.get("name") == "Microsoft.Windows.Common-Controls"]
        self.assertEqual([(a["version"], a["publicKeyToken"]) for a in common_controls],
                         [("6.0.0.0", "6595b64144ccf1df")])
        # The program's own identity: the company's and the product's names, this version.
        program = elements["assemblyIdentity"][0].attrib
        self.assertEqual((program["name"], program["version"]), (f"{os.environ['TORNEVO_COMPANY']}.Tornevo", PROJECT_VERSION))
        awareness = [part.strip() for part in elements["dpiAwareness"][0].text.split(",")]
        self.assertEqual(awareness[0], "PerMonitorV2")
        self.assertEqual([e.get("level") for e in elements["requestedExecutionLevel"]], ["asInvoker"])
        windows_7_to_11 = {
            "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
            "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",
        }
        self.assertEqual({e.get("Id").lower() for e in elements["supportedOS"]}, windows_7_to_11)


if __name__ == "__main__":
    unittest.main(verbosity=2)
