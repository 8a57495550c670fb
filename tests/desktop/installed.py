"""What `cmake --install` and the Debian package install, relative to the prefix, for the
application id and icon sizes that identity/identity.cmake gives (through CTest)."""
import os

APP_ID = os.environ["TORNEVO_APP_ID"]
ICON_SIZES = [int(size) for size in os.environ["TORNEVO_ICON_SIZES"].split()]

FILES = sorted([
    "bin/tornevo",
    f"share/applications/{APP_ID}.desktop",
    f"share/metainfo/{APP_ID}.metainfo.xml",
    *(f"share/icons/hicolor/{size}x{size}/apps/{APP_ID}.png" for size in ICON_SIZES),
    f"share/icons/hicolor/scalable/apps/{APP_ID}.svg",
    "share/doc/tornevo/copyright",
    "share/doc/tornevo/changelog.gz",
    "share/man/man1/tornevo.1.gz",
])
