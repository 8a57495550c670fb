"""The committed pictures have the sizes and formats the window, the desktop and Windows expect."""
import os
import pathlib
import re
import sys
import unittest

from images import dib_rgb_rows, first_difference, ico_images, jpeg_frame, png_header, png_rgb_rows

RESOURCES = pathlib.Path(sys.argv.pop(1))
ICON_SIZES = [int(size) for size in os.environ["TORNEVO_ICON_SIZES"].split()]  # from identity/identity.cmake


class Pictures(unittest.TestCase):
    def test_window_icon_is_70_by_72_rgb_without_alpha(self):
        width, height, depth, colour, interlace = png_header((RESOURCES / "icon/tornevo.png").read_bytes())
        self.assertEqual((width, height), (70, 72))
        self.assertEqual((depth, colour), (8, 2), "8 bits a channel, RGB (colour type 2): 24-bit, no alpha")
        self.assertEqual(interlace, 0)

    def test_logo_is_a_165_by_73_baseline_jpeg(self):
        marker, width, height, components = jpeg_frame((RESOURCES / "logo/logo.jpg").read_bytes())
        self.assertEqual(marker, 0xC0, "baseline DCT (SOF0), not progressive")
        self.assertEqual((width, height, components), (165, 73, 3))

    def test_logo_drawing_has_the_logo_size(self):
        # The window draws logo.svg in the logo's 165 x 73 layout pixels on high-density
        # screens; a drawing of another size would be squeezed into them.
        drawing = (RESOURCES / "logo/logo.svg").read_text()
        self.assertRegex(drawing, r'<svg [^>]*width="165" height="73" viewBox="0 0 165 73"')

    def test_windows_icon_is_the_window_icon_as_one_24_bit_image(self):
        images = ico_images((RESOURCES / "icon/tornevo.ico").read_bytes())
        self.assertEqual(len(images), 1)
        image = images[0]
        self.assertEqual((image["width"], image["height"], image["bits"], image["planes"]), (70, 72, 24, 1))
        rows, width, height = dib_rgb_rows(image["data"])
        self.assertEqual((width, height), (70, 72))
        self.assertIsNone(first_difference(rows, png_rgb_rows((RESOURCES / "icon/tornevo.png").read_bytes())),
                          "icon/tornevo.ico is stale: run art/render")

    def test_desktop_icons_are_square_and_padded(self):
        self.assertTrue(ICON_SIZES)
        for size in ICON_SIZES:
            with self.subTest(size=size):
                width, height, depth, _, _ = png_header((RESOURCES / f"icon/hicolor/{size}x{size}.png").read_bytes())
                self.assertEqual((width, height, depth), (size, size, 8))
        source = (RESOURCES / "icon/tornevo.svg").read_text()
        square = (RESOURCES / "icon/hicolor/scalable.svg").read_text()
        root = re.compile(r'width="[^"]*" height="[^"]*" viewBox="[^"]*"')
        self.assertEqual(root.findall(square), ['width="72" height="72" viewBox="-1 0 72 72"'],
                         "a 72 x 72 canvas with the 70-wide drawing centred, not scaled")
        self.assertEqual(root.sub("", square), root.sub("", source),
                         "the scalable icon draws the same picture as the window icon: run art/render")


if __name__ == "__main__":
    unittest.main(verbosity=2)
