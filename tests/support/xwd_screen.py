"""Xvfb screen dumps (-fbdir): reading pixels of the XWD file the server keeps, and saving
the screen as PNG for a look."""
import struct
import zlib


def xwd_pixel(path, x, y):
    """The (r, g, b) at (x, y) of a 24/32-bit XWD screen dump, read without the rest."""
    with open(path, "rb") as f:
        fields = struct.unpack(">25I", f.read(100))
        header_size, byte_order, bytes_per_line = fields[0], fields[7], fields[12]
        red_mask, green_mask, blue_mask, ncolors = fields[14], fields[15], fields[16], fields[19]
        f.seek(header_size + ncolors * 12 + y * bytes_per_line + 4 * x)
        (v,) = struct.unpack("<I" if byte_order == 0 else ">I", f.read(4))
    return tuple((v & mask) >> ((mask & -mask).bit_length() - 1)
                 for mask in (red_mask, green_mask, blue_mask))


def read_xwd(path):
    """Answers (width, height, rows of (r, g, b)) of a 24/32-bit XWD screen dump."""
    with open(path, "rb") as f:
        data = f.read()
    fields = struct.unpack(">25I", data[:100])
    header_size, width, height = fields[0], fields[4], fields[5]
    byte_order, bits_per_pixel, bytes_per_line = fields[7], fields[11], fields[12]
    red_mask, green_mask, blue_mask, ncolors = fields[14], fields[15], fields[16], fields[19]
    if bits_per_pixel != 32:
        raise ValueError("unexpected pixel size %d" % bits_per_pixel)
    offset = header_size + ncolors * 12
    fmt = "<I" if byte_order == 0 else ">I"

    def channel(value, mask):
        shift = (mask & -mask).bit_length() - 1
        return (value & mask) >> shift

    rows = []
    for y in range(height):
        row = []
        base = offset + y * bytes_per_line
        for x in range(width):
            (v,) = struct.unpack_from(fmt, data, base + 4 * x)
            row.append((channel(v, red_mask), channel(v, green_mask), channel(v, blue_mask)))
        rows.append(row)
    return width, height, rows


def write_png(path, width, height, rows):
    raw = b"".join(b"\0" + bytes(c for px in row for c in px) for row in rows)

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(raw)))
        f.write(chunk(b"IEND", b""))
