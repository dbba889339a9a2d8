#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Makes the small sample photos that are both the seed corpus of the photo
loader's fuzz target and what its unit test reads.

    /usr/bin/python3 tools/make_test_photos.py

Needs PIL (Debian: python3-pil), heif-enc (Debian: libheif-examples) and
avifenc (Debian: libavif-bin).
Writes tests/fuzz/corpus/ relative to the repository. Every picture is a few
KB, and the same bytes on every run: the encoders run without clocks or
random seeds.

Corpus files named found_* were found by fuzzing; they are kept by hand and
left alone here.

The quadrant pictures are 64 x 48 pixels in four colours, so a probe in the
middle of each quarter shows orientation and colour at once.

The HEIF samples carry their turn in the container, as phones write them:
- quadrants_rot90.heic is stored as quadrants() with an irot of three quarter
  turns anticlockwise (one clockwise): upright it is 48 x 64 with blue at the
  top-left, red at the top-right, yellow at the bottom-left and green at the
  bottom-right.
- quadrants_mirror.heic is stored as quadrants() with an imir that swaps left
  and right: upright it is 64 x 48 with green and red on top, yellow and blue
  below.
"""
import io
import pathlib
import struct
import subprocess
import tempfile
import zlib

from PIL import Image

ROOT = pathlib.Path(__file__).resolve().parent.parent
CORPUS = ROOT / "tests" / "fuzz" / "corpus"

TOP_LEFT = (220, 40, 40)
TOP_RIGHT = (40, 200, 60)
BOTTOM_LEFT = (40, 60, 220)
BOTTOM_RIGHT = (240, 220, 40)


def quadrants(width=64, height=48):
    image = Image.new("RGB", (width, height))
    w, h = width // 2, height // 2
    image.paste(TOP_LEFT, (0, 0, w, h))
    image.paste(TOP_RIGHT, (w, 0, width, h))
    image.paste(BOTTOM_LEFT, (0, h, w, height))
    image.paste(BOTTOM_RIGHT, (w, h, width, height))
    return image


def encoded(image, fmt, **options):
    out = io.BytesIO()
    image.save(out, fmt, **options)
    return out.getvalue()


def exif_rotated(fmt="JPEG", **options):
    # Stored 40 x 20, blue with a red 10 x 10 block at the stored top-left.
    # Orientation 6 means "turn 90 degrees clockwise to view": upright it is
    # 20 x 40 with the red block at the top-right.
    image = Image.new("RGB", (40, 20), (30, 60, 200))
    image.paste((220, 30, 30), (0, 0, 10, 10))
    exif = Image.Exif()
    exif[0x0112] = 6
    return encoded(image, fmt, exif=exif.tobytes(), **options)


def transparent_gif():
    # A green square on a transparent field.
    image = Image.new("P", (32, 32), 0)
    image.putpalette([0, 0, 0, 40, 200, 60] + [0] * 762)
    image.paste(1, (8, 8, 24, 24))
    return encoded(image, "GIF", transparency=0)


def with_jpeg_size(data, width, height):
    """The same JPEG with its frame header claiming another size."""
    data = bytearray(data)
    pos = 2
    while pos + 4 <= len(data):
        marker, length = data[pos + 1], struct.unpack(">H", data[pos + 2:pos + 4])[0]
        if marker in (0xC0, 0xC1, 0xC2):
            struct.pack_into(">HH", data, pos + 5, height, width)
            return bytes(data)
        pos += 2 + length
    raise ValueError("no frame header")


def bmp_header_only(width, height):
    # A 24-bit BMP header with a handful of pixel bytes after it.
    pixels = b"\x80" * 64
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, 0, 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return head + info + pixels


def top_down_bmp(image):
    # A 24-bit BMP whose negative height says its rows run top to bottom.
    width, height = image.size
    stride = (width * 3 + 3) & ~3
    rows = b"".join(bytes(c for x in range(width) for c in image.getpixel((x, y))[::-1])
                    .ljust(stride, b"\0") for y in range(height))
    info = struct.pack("<IiiHHIIiiII", 40, width, -height, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(rows), 0, 0, 14 + len(info))
    return head + info + rows


def gif_with_screen(width, height):
    # A 1 x 1 frame on a logical screen of the given size.
    return (b"GIF89a" + struct.pack("<HHBBB", width, height, 0x80, 0, 0)
            + b"\x00\x00\x00\xff\xff\xff"
            + b",\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;")


def heif_encoded(image, *options):
    """The picture as heif-enc writes it (HEIC, or AVIF with -A)."""
    with tempfile.TemporaryDirectory() as folder:
        source, target = pathlib.Path(folder, "in.png"), pathlib.Path(folder, "out.heif")
        image.save(source)
        subprocess.run(["heif-enc", "--quality", "90", *options, "-o", str(target), str(source)],
                       check=True, stdout=subprocess.DEVNULL)
        return target.read_bytes()


def avif_encoded(image, *options):
    """The picture as avifenc writes it: of an 8-bit PNG heif-enc makes no
    AVIF of 10 bits a sample, nor a grey one."""
    with tempfile.TemporaryDirectory() as folder:
        source, target = pathlib.Path(folder, "in.png"), pathlib.Path(folder, "out.avif")
        image.save(source)
        subprocess.run(["avifenc", "--speed", "10", *options, str(source), str(target)],
                       check=True, stdout=subprocess.DEVNULL)
        return target.read_bytes()


def box(kind, payload):
    return struct.pack(">I4s", 8 + len(payload), kind) + payload


def children(data, start, end):
    """(type, offset, size) of each box in data[start:end]."""
    found = []
    while start + 8 <= end:
        size, kind = struct.unpack_from(">I4s", data, start)
        if size < 8 or start + size > end:
            raise ValueError(f"box {kind} overruns its parent")
        found.append((kind, start, size))
        start += size
    return found


def child(data, boxes, kind):
    return next((at, size) for k, at, size in boxes if k == kind)


def with_heif_property(data, prop):
    """The HEIF file with one more property box, associated with the primary
    item after its own ones (a transformation applies in that order).

    heif-enc cannot set a rotation, so this edits its boxes: the property is
    appended to ipco, its index to the primary item's ipma entry, and the
    iloc offsets into mdat move by what the meta box grew.
    """
    meta_at, meta_size = child(data, children(data, 0, len(data)), b"meta")
    meta = data[meta_at:meta_at + meta_size]
    inner = children(meta, 12, len(meta))  # meta is a full box
    pitm_at, _ = child(meta, inner, b"pitm")
    primary = (struct.unpack_from(">H", meta, pitm_at + 12)[0] if meta[pitm_at + 8] == 0
               else struct.unpack_from(">I", meta, pitm_at + 12)[0])
    iprp_at, iprp_size = child(meta, inner, b"iprp")
    props = children(meta, iprp_at + 8, iprp_at + iprp_size)
    ipco_at, ipco_size = child(meta, props, b"ipco")
    index = len(children(meta, ipco_at + 8, ipco_at + ipco_size)) + 1
    ipco = box(b"ipco", meta[ipco_at + 8:ipco_at + ipco_size] + prop)

    ipma_at, ipma_size = child(meta, props, b"ipma")
    version, flags = meta[ipma_at + 8], meta[ipma_at + 11]
    id_format, wide = (">I" if version else ">H"), flags & 1
    at = ipma_at + 16
    entries = b""
    for _ in range(struct.unpack_from(">I", meta, ipma_at + 12)[0]):
        item = struct.unpack_from(id_format, meta, at)[0]
        at += struct.calcsize(id_format)
        count = meta[at]
        span = count * (2 if wide else 1)
        associations = meta[at + 1:at + 1 + span]
        if item == primary:
            # Essential: a reader that cannot apply it must not show the picture.
            associations += struct.pack(">H", 0x8000 | index) if wide else bytes([0x80 | index])
            count += 1
        entries += struct.pack(id_format, item) + bytes([count]) + associations
        at += 1 + span
    ipma = box(b"ipma", meta[ipma_at + 8:ipma_at + 16] + entries)

    iprp = box(b"iprp", b"".join(ipco if k == b"ipco" else ipma if k == b"ipma"
                                 else meta[a:a + n] for k, a, n in props))
    new_meta = bytearray(box(b"meta", meta[8:12] + b"".join(
        iprp if k == b"iprp" else meta[a:a + n] for k, a, n in inner)))
    grown = len(new_meta) - meta_size
    move_file_offsets(new_meta, meta_at + meta_size, grown)
    return data[:meta_at] + bytes(new_meta) + data[meta_at + meta_size:]


def move_file_offsets(meta, after, grown):
    """Adds `grown` to every iloc offset into the file at or past `after`."""
    at, _ = child(meta, children(meta, 12, len(meta)), b"iloc")
    version = meta[at + 8]
    offset_size, length_size = meta[at + 12] >> 4, meta[at + 12] & 15
    base_size, index_size = meta[at + 13] >> 4, (meta[at + 13] & 15 if version else 0)
    formats = {0: None, 4: ">I", 8: ">Q"}
    if version < 2:
        count, at = struct.unpack_from(">H", meta, at + 14)[0], at + 16
    else:
        count, at = struct.unpack_from(">I", meta, at + 14)[0], at + 18

    def field(size, shift):
        nonlocal at
        value = struct.unpack_from(formats[size], meta, at)[0] if size else 0
        if size and shift and value >= after:
            struct.pack_into(formats[size], meta, at, value + grown)
        at += size
        return value

    for _ in range(count):
        at += 4 if version == 2 else 2  # item ID
        in_file = True
        if version:
            in_file = struct.unpack_from(">H", meta, at)[0] & 15 == 0
            at += 2
        at += 2  # data reference index
        base = field(base_size, in_file)
        extents = struct.unpack_from(">H", meta, at)[0]
        at += 2
        for _ in range(extents):
            field(index_size, False)
            field(offset_size, in_file and base == 0)
            field(length_size, False)


def with_ispe_size(data, width, height):
    """The HEIF file with every image size property claiming another size."""
    data = bytearray(data)
    at = data.find(b"ispe")
    while at >= 0:
        struct.pack_into(">II", data, at + 8, width, height)
        at = data.find(b"ispe", at + 4)
    return bytes(data)


def heif_cut_in_mdat(data):
    _, at, size = next(b for b in children(data, 0, len(data)) if b[0] == b"mdat")
    return data[:at + 8 + (size - 8) // 2]


def transparent():
    # A green square on a fully transparent field, as transparent.gif.
    image = Image.new("RGBA", (32, 32), (0, 0, 0, 0))
    image.paste((40, 200, 60, 255), (8, 8, 24, 24))
    return image


def rgb16_tiff(image):
    """The picture as a TIFF of 16 bits a sample (each 8-bit value times 257),
    one deflated strip: PIL writes no 16-bit RGB."""
    width, height = image.size
    rows = b"".join(struct.pack("<3H", *(257 * c for c in image.getpixel((x, y))))
                    for y in range(height) for x in range(width))
    strip = zlib.compress(rows, 9)
    entries = [  # tag, type (3 short, 4 long, 5 rational), count, value or offset
        (256, 3, 1, width), (257, 3, 1, height), (258, 3, 3, None), (259, 3, 1, 8),
        (262, 3, 1, 2), (273, 4, 1, None), (277, 3, 1, 3), (278, 3, 1, height),
        (279, 4, 1, len(strip)), (282, 5, 1, None), (283, 5, 1, None), (284, 3, 1, 1),
        (296, 3, 1, 2),
    ]
    ifd_size = 2 + 12 * len(entries) + 4
    extra_at = 8 + ifd_size
    extra = struct.pack("<3H", 16, 16, 16) + struct.pack("<2I", 72, 1)
    strip_at = extra_at + len(extra)
    values = {258: extra_at, 273: strip_at, 282: extra_at + 6, 283: extra_at + 6}
    ifd = struct.pack("<H", len(entries))
    for tag, kind, count, value in entries:
        value = values.get(tag, value)
        ifd += struct.pack("<HHI", tag, kind, count)
        ifd += struct.pack("<HH", value, 0) if kind == 3 and count == 1 else struct.pack("<I", value)
    return b"II*\0" + struct.pack("<I", 8) + ifd + struct.pack("<I", 0) + extra + strip


def main():
    CORPUS.mkdir(parents=True, exist_ok=True)
    photo = quadrants()
    samples = {
        "quadrants.jpg": encoded(photo, "JPEG", quality=95),
        "progressive.jpg": encoded(photo, "JPEG", quality=95, progressive=True),
        "cmyk.jpg": encoded(photo.convert("CMYK"), "JPEG", quality=95),
        "gray.jpg": encoded(photo.convert("L"), "JPEG", quality=95),
        "exif_rot6.jpg": exif_rotated(quality=95),
        "exif_rot6.png": exif_rotated("PNG"),
        "exif_rot6.webp": exif_rotated("WEBP", lossless=True),
        "exif_rot6.tif": exif_rotated("TIFF"),
        "quadrants.bmp": encoded(photo, "BMP"),
        "quadrants_top_down.bmp": top_down_bmp(photo),
        "quadrants.gif": encoded(photo.convert("P", palette=Image.ADAPTIVE, colors=4), "GIF"),
        "transparent.gif": transparent_gif(),
        "transparent.png": encoded(transparent(), "PNG"),
        "transparent.avif": heif_encoded(transparent(), "--avif"),
        "quadrants16.tif": rgb16_tiff(photo),
        # The second frame is the picture turned half round; only the first counts.
        "animated.webp": encoded(photo, "WEBP", lossless=True, save_all=True, duration=500,
                                 append_images=[quadrants().rotate(180)]),
        "quadrants.avif": heif_encoded(photo, "--avif"),
        "quadrants10.avif": avif_encoded(photo, "--depth", "10"),
        "gray10.avif": avif_encoded(photo, "--depth", "10", "--yuv", "400"),
        # Angle 3: three quarter turns anticlockwise.
        "quadrants_rot90.heic": with_heif_property(heif_encoded(photo), box(b"irot", b"\x03")),
        # Mode 1 swaps left and right (HEIF's amendment renamed the first
        # edition's "axis", read both ways, to "mode": 0 swaps top and bottom).
        "quadrants_mirror.heic": with_heif_property(heif_encoded(photo), box(b"imir", b"\x01")),
        # A clean aperture of 32 x 24 whose centre lies 16 right of and 12 above
        # the picture's: the top-right quarter alone.
        "quadrants_clap.heic": with_heif_property(heif_encoded(photo), box(
            b"clap", struct.pack(">IIIIiIiI", 32, 1, 24, 1, 16, 1, -12, 1))),
    }
    for name, data in samples.items():
        (CORPUS / name).write_bytes(data)

    baseline = samples["quadrants.jpg"]
    scan = baseline.index(b"\xff\xda")
    hostile = {
        "empty": b"",
        "text.jpg": b"Dit is geen foto.\n",
        "truncated_header.jpg": baseline[:100],
        # Cut halfway through the pixel data: the top is there, the rest is not.
        "truncated_half.jpg": baseline[: scan + (len(baseline) - scan) // 2],
        "jpeg_claims_60000.jpg": with_jpeg_size(baseline, 60000, 60000),
        # Within the loader's limits, so the decoder really runs on it.
        "jpeg_claims_9000.jpg": with_jpeg_size(baseline, 9000, 6000),
        # A 200-megapixel phone photo's size: baseline, so it loads reduced.
        "jpeg_claims_16320.jpg": with_jpeg_size(baseline, 16320, 12240),
        "progressive_claims_5000.jpg": with_jpeg_size(samples["progressive.jpg"], 5000, 4000),
        "bmp_claims_60000.bmp": bmp_header_only(60000, 60000),
        "bmp_top_down.bmp": bmp_header_only(4, -4),
        "bmp_8bit.bmp": encoded(photo.convert("P", palette=Image.ADAPTIVE, colors=16), "BMP"),
        "bmp_1bit.bmp": encoded(photo.convert("1"), "BMP"),
        "gif_huge_screen.gif": gif_with_screen(65535, 65535),
        "gif_zero_screen.gif": gif_with_screen(0, 0),
        "gif_interlaced.gif": encoded(photo.convert("P"), "GIF", interlace=True),
        # The boxes are whole, the coded picture is cut halfway.
        "truncated_half.heic": heif_cut_in_mdat(samples["quadrants_rot90.heic"]),
        "heic_claims_60000.heic": with_ispe_size(samples["quadrants_rot90.heic"], 60000, 60000),
        "gif_frames.gif": encoded(photo.convert("P"), "GIF", save_all=True,
                                  append_images=[quadrants().rotate(180).convert("P")]),
    }
    for name, data in hostile.items():
        (CORPUS / name).write_bytes(data)


if __name__ == "__main__":
    main()
