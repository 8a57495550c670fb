"""Reads just enough of PNG, JPEG, ICO and Windows .res files to check Tornevo's pictures."""
import struct
import zlib

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


def png_chunks(data):
    if data[:8] != PNG_SIGNATURE:
        raise ValueError("not a PNG file")
    at = 8
    while at < len(data):
        length, kind = struct.unpack_from(">I4s", data, at)
        yield kind, data[at + 8 : at + 8 + length]
        at += 12 + length


def png_header(data):
    """(width, height, bit depth, colour type, interlace) of a PNG."""
    for kind, body in png_chunks(data):
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            return width, height, depth, colour, interlace
    raise ValueError("PNG without IHDR")


def png_rgb_rows(data):
    """The pixel rows of an 8-bit RGB, non-interlaced PNG, top row first, as bytes."""
    width, height, depth, colour, interlace = png_header(data)
    if (depth, colour, interlace) != (8, 2, 0):
        raise ValueError("only 8-bit RGB non-interlaced PNGs are read")
    raw = zlib.decompress(b"".join(body for kind, body in png_chunks(data) if kind == b"IDAT"))
    stride, bpp = width * 3, 3
    rows, prior = [], bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind, row = raw[start], bytearray(raw[start + 1 : start + 1 + stride])
        for x in range(stride):
            left = row[x - bpp] if x >= bpp else 0
            up = prior[x]
            upper_left = prior[x - bpp] if x >= bpp else 0
            if kind == 1:
                row[x] = (row[x] + left) & 0xFF
            elif kind == 2:
                row[x] = (row[x] + up) & 0xFF
            elif kind == 3:
                row[x] = (row[x] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - upper_left
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - upper_left)
                predictor = left if pa <= pb and pa <= pc else up if pb <= pc else upper_left
                row[x] = (row[x] + predictor) & 0xFF
            elif kind != 0:
                raise ValueError(f"bad PNG filter {kind}")
        rows.append(bytes(row))
        prior = row
    return rows


def first_difference(rows, other_rows):
    """Where two pictures (lists of RGB rows) first differ, as "x,y", or None if they are equal."""
    if len(rows) != len(other_rows):
        return f"height {len(rows)} against {len(other_rows)}"
    for y, (row, other) in enumerate(zip(rows, other_rows)):
        if len(row) != len(other):
            return f"width {len(row) // 3} against {len(other) // 3}"
        for x in range(0, len(row), 3):
            if row[x : x + 3] != other[x : x + 3]:
                return f"pixel {x // 3},{y}: {row[x:x + 3].hex()} against {other[x:x + 3].hex()}"
    return None


def jpeg_frame(data):
    """(start-of-frame marker, width, height, components) of a JPEG; 0xC0 is baseline."""
    if data[:2] != b"\xff\xd8":
        raise ValueError("not a JPEG file")
    at = 2
    while at < len(data):
        if data[at] != 0xFF:
            raise ValueError("JPEG marker expected")
        marker = data[at + 1]
        length = struct.unpack_from(">H", data, at + 2)[0]
        if 0xC0 <= marker <= 0xCF and marker not in (0xC4, 0xC8, 0xCC):
            _, height, width, components = struct.unpack_from(">BHHB", data, at + 4)
            return marker, width, height, components
        at += 2 + length
    raise ValueError("JPEG without a frame header")


def ico_images(data):
    """The images of an .ico file: dicts of the directory entry and the bitmap data."""
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if (reserved, kind) != (0, 1):
        raise ValueError("not an icon file")
    images = []
    for i in range(count):
        width, height, colours, _, planes, bits, size, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        images.append(dict(width=width or 256, height=height or 256, colours=colours, planes=planes,
                           bits=bits, data=data[offset : offset + size]))
    return images


def dib_rgb_rows(dib):
    """The colour rows of an uncompressed 24-bit icon bitmap (a DIB whose height counts the mask),
    top row first, as RGB bytes."""
    size, width, height, planes, bits, compression = struct.unpack_from("<IiiHHI", dib, 0)
    if (size, planes, bits, compression) != (40, 1, 24, 0):
        raise ValueError(f"not an uncompressed 24-bit bitmap ({bits} bits, compression {compression})")
    height //= 2
    stride = (width * 3 + 3) // 4 * 4
    rows = []
    for y in range(height):
        start = size + (height - 1 - y) * stride
        bgr = dib[start : start + width * 3]
        rows.append(bytes(b for i in range(0, len(bgr), 3) for b in (bgr[i + 2], bgr[i + 1], bgr[i])))
    return rows, width, height


def version_nodes(data, at=0):
    """Parses one node of a VS_VERSIONINFO tree: (key, value, children, end offset). The value
    is bytes for binary nodes and a str for text nodes."""
    length, value_length, text = struct.unpack_from("<HHH", data, at)
    end = at + length
    key_start = at + 6
    key_end = key_start
    while struct.unpack_from("<H", data, key_end)[0] != 0:
        key_end += 2
    key = data[key_start:key_end].decode("utf-16-le")
    value_at = (key_end + 2 + 3) & ~3
    if text:
        raw = data[value_at : value_at + 2 * value_length]
        value = raw.decode("utf-16-le").rstrip("\0")
        value_end = value_at + 2 * value_length
    else:
        value = data[value_at : value_at + value_length]
        value_end = value_at + value_length
    children, child = [], (value_end + 3) & ~3
    while child < end:
        node = version_nodes(data, child)
        children.append(node)
        child = (node[3] + 3) & ~3
    return key, value, children, end
