#!/usr/bin/python3
"""Gives an installer that wixl made a fixed package code and fixed dates, in place.

wixl takes the package code (the summary information's revision number) from a random
source and the dates from the clock, so two builds of the same source differ. This sets
the revision number to PACKAGE-CODE and the creation, last-printed and last-saved times
to EPOCH (seconds since 1970, UTC). Nothing else in the file changes.

Usage: msi_summary.py FILE.msi PACKAGE-CODE EPOCH"""
import struct
import sys

import olefile

STREAM = "\x05SummaryInformation"
REVISION, LAST_PRINTED, CREATED, LAST_SAVED = 9, 11, 12, 13
VT_LPSTR, VT_FILETIME = 0x1E, 0x40
FILETIME_1970 = 11644473600  # seconds from 1601, where Windows counts from, to 1970


def set_summary(path, package_code, epoch):
    code = f"{{{package_code.upper()}}}".encode("ascii")
    filetime = struct.pack("<Q", (epoch + FILETIME_1970) * 10_000_000)
    with olefile.OleFileIO(path, write_mode=True) as msi:
        data = bytearray(msi.openstream(STREAM).read())
        # A property set stream with one section: its offset follows the header and FMTID.
        (section,) = struct.unpack_from("<I", data, 44)
        (count,) = struct.unpack_from("<I", data, section + 4)
        changed = set()
        for index in range(count):
            pid, offset = struct.unpack_from("<II", data, section + 8 + 8 * index)
            at = section + offset
            (kind,) = struct.unpack_from("<H", data, at)
            if pid == REVISION and kind == VT_LPSTR:
                (size,) = struct.unpack_from("<I", data, at + 4)
                # The new code must fill the old one's place: the stream keeps its size.
                if size != len(code) + 1:
                    sys.exit(f"{path}: a revision number of {size} bytes, not a braced GUID")
                data[at + 8:at + 8 + len(code)] = code
                changed.add(pid)
            elif pid in (LAST_PRINTED, CREATED, LAST_SAVED) and kind == VT_FILETIME:
                data[at + 4:at + 12] = filetime
                changed.add(pid)
        missing = {REVISION, CREATED, LAST_SAVED} - changed
        if missing:
            sys.exit(f"{path}: no summary property {sorted(missing)} to set")
        msi.write_stream(STREAM, bytes(data))


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__.rsplit("\n", 1)[-1])
    set_summary(sys.argv[1], sys.argv[2], int(sys.argv[3]))
