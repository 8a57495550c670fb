"""The checks of the Windows resources in each built Tornevo.exe (tests/windows). A test class
mixes them in and gives `entries` (type, name, language, data), `project_version` (four
numbers) and `resources` (the art folder). The name and company come from CMake, in
TORNEVO_NAME and TORNEVO_COMPANY."""
import os
import pathlib
import struct

from images import dib_rgb_rows, first_difference, png_rgb_rows, version_nodes

RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24
ENGLISH_US = 1033
VFT_APP = 1


class VersionAndIconChecks:
    def of_type(self, kind):
        return [entry for entry in self.entries if entry[0] == kind]

    def test_everything_is_in_us_english(self):
        self.assertTrue(self.entries)
        for kind, name, language, _ in self.entries:
            if kind != RT_MANIFEST:  # a manifest is language-neutral
                with self.subTest(kind=kind, name=name):
                    self.assertEqual(language, ENGLISH_US)

    def test_version_block(self):
        versions = self.of_type(RT_VERSION)
        self.assertEqual(len(versions), 1)
        key, fixed, children, _ = version_nodes(versions[0][3])
        self.assertEqual(key, "VS_VERSION_INFO")

        signature, _, file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<6I", fixed)
        major, minor, patch, tweak = (int(part) for part in self.project_version.split("."))
        self.assertEqual(signature, 0xFEEF04BD)
        for version in ((file_ms, file_ls), (product_ms, product_ls)):
            self.assertEqual(version, (major << 16 | minor, patch << 16 | tweak))
        self.assertEqual(struct.unpack_from("<I", fixed, 36)[0], VFT_APP)

        blocks = {child[0]: child for child in children}
        self.assertEqual(set(blocks), {"StringFileInfo", "VarFileInfo"})
        tables = blocks["StringFileInfo"][2]
        self.assertEqual([table[0] for table in tables], ["040904B0"], "1033 with the Unicode code page 1200")
        strings = {node[0]: node[1] for node in tables[0][2]}
        display = f"{major}.{minor:02d}"  # the version people see: major and two-digit minor
        expected = {
            "FileVersion": display,
            "ProductVersion": display,
            "ProductName": os.environ["TORNEVO_NAME"],
            "InternalName": os.environ["TORNEVO_NAME"],
            "OriginalFilename": "Tornevo.exe",
            "CompanyName": os.environ["TORNEVO_COMPANY"],
        }
        for name, value in expected.items():
            with self.subTest(string=name):
                self.assertEqual(strings.get(name), value)

        translation = blocks["VarFileInfo"][2]
        self.assertEqual([(node[0], node[1]) for node in translation],
                         [("Translation", struct.pack("<HH", 0x409, 1200))])

    def test_one_icon_of_70_by_72_in_24_bits_showing_the_window_icon(self):
        groups = self.of_type(RT_GROUP_ICON)
        self.assertEqual(len(groups), 1)
        reserved, kind, count = struct.unpack_from("<HHH", groups[0][3])
        self.assertEqual((reserved, kind, count), (0, 1, 1))
        width, height, colours, _, planes, bits, _, icon_id = struct.unpack_from("<BBBBHHIH", groups[0][3], 6)
        self.assertEqual((width, height, colours, planes, bits), (70, 72, 0, 1, 24))

        icons = self.of_type(RT_ICON)
        self.assertEqual([entry[1] for entry in icons], [icon_id])
        rows, width, height = dib_rgb_rows(icons[0][3])
        self.assertEqual((width, height), (70, 72))
        window_icon = png_rgb_rows((pathlib.Path(self.resources) / "icon/tornevo.png").read_bytes())
        self.assertIsNone(first_difference(rows, window_icon), "the Windows icon shows the window icon's picture")
