#!/usr/bin/python3
"""Makes the small sample photos that are both the seed corpus of the photo
loader's fuzz target and what its unit test reads.

    /usr/bin/python3 tools/make_test_photos.py

Needs PIL (Debian: python3-pil). Writes tests/fuzz/corpus/ relative to the
repository. Every picture is a few KB.

Corpus files named found_* were found by fuzzing; they are kept by hand and
left alone here.

The quadrant pictures are 64 x 48 pixels in four colours, so a probe in the
middle of each quarter shows orientation and colour at once.
"""
import io
import pathlib
import struct

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


def exif_rotated():
    # Stored 40 x 20, blue with a red 10 x 10 block at the stored top-left.
    # Orientation 6 means "turn 90 degrees clockwise to view": upright it is
    # 20 x 40 with the red block at the top-right.
    image = Image.new("RGB", (40, 20), (30, 60, 200))
    image.paste((220, 30, 30), (0, 0, 10, 10))
    exif = Image.Exif()
    exif[0x0112] = 6
    return encoded(image, "JPEG", quality=95, exif=exif.tobytes())


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


def main():
    CORPUS.mkdir(parents=True, exist_ok=True)
    photo = quadrants()
    samples = {
        "quadrants.jpg": encoded(photo, "JPEG", quality=95),
        "progressive.jpg": encoded(photo, "JPEG", quality=95, progressive=True),
        "cmyk.jpg": encoded(photo.convert("CMYK"), "JPEG", quality=95),
        "gray.jpg": encoded(photo.convert("L"), "JPEG", quality=95),
        "exif_rot6.jpg": exif_rotated(),
        "quadrants.bmp": encoded(photo, "BMP"),
        "quadrants_top_down.bmp": top_down_bmp(photo),
        "quadrants.gif": encoded(photo.convert("P", palette=Image.ADAPTIVE, colors=4), "GIF"),
        "transparent.gif": transparent_gif(),
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
        "gif_frames.gif": encoded(photo.convert("P"), "GIF", save_all=True,
                                  append_images=[quadrants().rotate(180).convert("P")]),
    }
    for name, data in hostile.items():
        (CORPUS / name).write_bytes(data)


if __name__ == "__main__":
    main()
