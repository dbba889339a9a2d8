# SPDX-License-Identifier: GPL-3.0-or-later
# Photos that cost a decoder far more than their size, that a decoder
# misreads, or that are no photo at all, made at run time: forged headers,
# constant pictures that compress a thousandfold, grids of thousands of tiles
# that share one coded tile. Printed as JSON rows
#     [name, path, exit code, words the message holds, whether the program does so today]
# Exit 0 loads (the words, if any, are the warning's); exit 1 refuses.
#     /usr/bin/python3 tests/cli/hostile_photos.py FOLDER
import json
import os
import socket
import struct
import subprocess
import sys
import zlib

from PIL import Image

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, "..", "..", "tools"))
from make_test_photos import box, encoded, heif_encoded, with_jpeg_size  # noqa: E402


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def zeros_deflated(size, count):
    """A zlib stream of count * size zero bytes, compressed once: after a full
    flush the compressor starts afresh, so each later block has the same bytes."""
    zeros, stream = bytes(size), zlib.compressobj(9)
    first = stream.compress(zeros) + stream.flush(zlib.Z_FULL_FLUSH)
    again = stream.compress(zeros) + stream.flush(zlib.Z_FULL_FLUSH)
    # An empty last block, then Adler-32, which for zeros is 1 and the length.
    return (first + again * (count - 1) + b"\x03\x00"
            + struct.pack(">I", (size * count % 65521) << 16 | 1))


def png(width, height, depth=8, colour=2, extra=b"", pixels=True):
    """A black PNG; 16-bit colour 6 is RGBA."""
    row = 1 + width * {0: 1, 2: 3, 6: 4}[colour] * depth // 8
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, depth, colour, 0, 0, 0))
            + extra + chunk(b"IDAT", zeros_deflated(row, height if pixels else 1))
            + chunk(b"IEND", b""))


def tiff(width, height, bits, photometric=2, sample_format=1, rows=16, extra=(), compression=8):
    """A black little-endian TIFF whose deflated strips all share one copy."""
    strip = zlib.compress(bytes(width * rows * sum(bits) // 8), 9)
    strips = height // rows
    tags = {256: [width], 257: [height], 258: bits, 259: [compression], 262: [photometric],
            273: [8] * strips, 277: [len(bits)], 278: [rows], 279: [len(strip)] * strips,
            339: [sample_format] * len(bits), 338: list(extra)}
    tags = sorted((tag, values) for tag, values in tags.items() if values)
    ifd_at = 8 + len(strip)
    spill, ifd = ifd_at + 6 + 12 * len(tags), b""
    out = b""
    for tag, values in tags:
        kind, code = ("H", 3) if tag in (258, 259, 262, 277, 339, 338) else ("I", 4)
        data = struct.pack("<%d%s" % (len(values), kind), *values)
        if len(data) <= 4:
            ifd += struct.pack("<HHI", tag, code, len(values)) + data.ljust(4, b"\0")
        else:
            ifd += struct.pack("<HHII", tag, code, len(values), spill + len(out))
            out += data
    return (b"II*\0" + struct.pack("<I", ifd_at) + strip + struct.pack("<H", len(tags)) + ifd
            + b"\0\0\0\0" + out)


def full(kind, version, flags, payload):
    return box(kind, struct.pack(">I", version << 24 | flags) + payload)


def coded(data):
    """A tile: the codec configuration box, the size and the coded picture of a
    file of one picture that heif-enc made."""
    at = max(data.find(b"hvcC"), data.find(b"av1C")) - 4
    config = data[at:at + struct.unpack_from(">I", data, at)[0]]
    return (config, *struct.unpack_from(">II", data, data.find(b"ispe") + 8),
            data[data.find(b"mdat") + 4:])


def heif_grid(tiles, layout, columns, rows, width, height, brand=b"heic"):
    """A HEIF grid of columns x rows tiles showing width x height pixels; tiles
    are (configuration, width, height, coded picture), layout picks each
    tile's (all of one kind share their coded bytes)."""
    codec = b"hvc1" if tiles[0][0][4:8] == b"hvcC" else b"av01"
    count, grid = len(layout), len(layout) + 1
    ipco = b"".join(config + full(b"ispe", 0, 0, struct.pack(">II", w, h))
                    for config, w, h, _ in tiles)
    ipco += full(b"ispe", 0, 0, struct.pack(">II", width, height))
    ipma = b"".join(struct.pack(">HBBB", item, 2, 0x81 + 2 * kind, 2 + 2 * kind)
                    for item, kind in enumerate(layout, 1))
    ipma += struct.pack(">HBB", grid, 1, 2 * len(tiles) + 1)
    descriptor = struct.pack(">BBBBHH", 0, 0, rows - 1, columns - 1, width, height)
    data = descriptor + b"".join(picture for _, _, _, picture in tiles)
    starts = [len(descriptor) + sum(len(t[3]) for t in tiles[:k]) for k in range(len(tiles))]

    def meta(mdat):
        iloc = [(grid, mdat, len(descriptor))] + [
            (item, mdat + starts[kind], len(tiles[kind][3])) for item, kind in enumerate(layout, 1)]
        return full(b"meta", 0, 0, b"".join([
            full(b"hdlr", 0, 0, b"\0" * 4 + b"pict" + b"\0" * 13),
            full(b"pitm", 0, 0, struct.pack(">H", grid)),
            full(b"iinf", 0, 0, struct.pack(">H", grid) + b"".join(
                full(b"infe", 2, item < grid, struct.pack(">HH4sB", item, 0,
                                                         codec if item < grid else b"grid", 0))
                for item in range(1, grid + 1))),
            full(b"iref", 0, 0, box(b"dimg", struct.pack(">HH%dH" % count, grid, count,
                                                         *range(1, grid)))),
            box(b"iprp", box(b"ipco", ipco) + full(b"ipma", 0, 0, struct.pack(">I", grid) + ipma)),
            full(b"iloc", 0, 0, b"\x44\x00" + struct.pack(">H", grid) + b"".join(
                struct.pack(">HHHII", item, 0, 1, at, size) for item, at, size in sorted(iloc)))]))

    ftyp = box(b"ftyp", brand + b"\0\0\0\0mif1" + brand)
    start = len(ftyp) + len(meta(0)) + 8
    return ftyp + meta(start) + box(b"mdat", data)


def with_brands(data, brand):
    """The file with each brand of its ftyp box made this one."""
    size = struct.unpack_from(">I", data)[0]
    return data[:8] + brand * ((size - 8) // 4) + data[size:]


def webp_resized(data, width, height):
    """An animated lossless WebP of one colour per frame, every size made
    width x height: a one-colour frame takes no bits a pixel."""
    data, at = bytearray(data), 12
    while at < len(data):
        kind, size = data[at:at + 4], struct.unpack_from("<I", data, at + 4)[0]
        if kind in (b"VP8X", b"ANMF"):
            field = at + (12 if kind == b"VP8X" else 14)
            data[field:field + 6] = (width - 1).to_bytes(3, "little") + (height - 1).to_bytes(
                3, "little")
        if kind == b"VP8L":
            bits = struct.unpack_from("<I", data, at + 9)[0] & ~0xFFFFFFF
            struct.pack_into("<I", data, at + 9, bits | (width - 1) | (height - 1) << 14)
        at += 24 if kind == b"ANMF" else 8 + size + size % 2  # into a frame's own chunks
    return bytes(data)


def forged_jpeg(mode, width, height, **options):
    """A tiny progressive JPEG whose frame header claims another size."""
    return with_jpeg_size(encoded(Image.new(mode, (64, 48)), "JPEG", progressive=True, **options),
                          width, height)


def run(*command, **options):
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                   **options)


def make(folder):
    """Writes the corpus into folder; returns its rows."""
    def path(name):
        return os.path.join(folder, name)

    def read(name):
        with open(path(name), "rb") as file:
            return file.read()

    def half(data):
        return data[:len(data) // 2]

    # A 12-bit 4:4:4 AVIF, encoded meanwhile; its av1C box will say 8-bit grey.
    avifenc = subprocess.Popen(["avifenc", "--stdin", "-s", "10", "-j", "2", path("lying.avif")],
                               stdin=subprocess.PIPE, stdout=subprocess.DEVNULL)
    avifenc.stdin.write(b"YUV4MPEG2 W6032 H4520 F25:1 Ip A1:1 C444p12\nFRAME\n")
    for _ in range(3):  # Y, Cb and Cr
        avifenc.stdin.write(bytes(6032 * 4520 * 2))
    avifenc.stdin.close()
    photo = Image.linear_gradient("L").resize((512, 384)).convert("RGB")
    heic, avif = heif_encoded(photo), heif_encoded(photo, "-A")
    blue = [coded(heif_encoded(Image.new("RGB", (64, 64), (90, 140, 200))))]
    sizes = [coded(heif_encoded(Image.new("RGB", (side, side), colour)))
             for side, colour in ((64, (200, 40, 40)), (128, (40, 60, 200)), (128, (240, 220, 40)))]
    detail = Image.effect_mandelbrot((512, 512), (-2, -1.5, 1, 1.5), 100)
    detail = Image.merge("RGB", (detail, detail.rotate(90), detail.rotate(180)))
    phone = [coded(heif_encoded(detail))]
    tiny = [coded(heif_encoded(Image.new("RGB", (16, 16), (90, 140, 200)), "-A"))]
    photo.save(path("strips.tif"))
    photo.resize((160, 120)).save(path("small.tif"))
    run("tiffcp", "-t", "-w", "256", "-l", "256", path("small.tif"), path("tiled.tif"))
    for name, colour in ("red.png", (200, 40, 40)), ("blue.png", (40, 60, 200)):
        Image.new("RGB", (16, 16), colour).save(path(name))
    run("img2webp", "-lossless", path("red.png"), path("blue.png"), "-o", path("anim.webp"))
    Image.new("RGB", (8000, 8000), (90, 140, 200)).save(path("64mp.bmp"))
    Image.new("P", (8000, 8000), 3).save(path("64mp.gif"))
    socket.socket(socket.AF_UNIX).bind(path("unix.jpg"))
    ztxt = chunk(b"zTXt", b"Comment\0\0" + zlib.compress(b"x" * (7 << 20), 9)) * 100
    avifenc.wait()
    lying = bytearray(read("lying.avif"))
    at = lying.find(b"av1C") + 5  # profile 0; 8-bit, monochrome, 4:2:0
    lying[at:at + 2] = bytes([lying[at] & 0x1F, 0x1C])
    # A row's tiles each cover two rows of the grid, as the short last tile
    # sets how far the next row starts down.
    overlapping = [kind for row in range(16) for kind in (1 + row % 2, 0)]
    broken = bytearray(encoded(photo, "PNG"))
    broken[broken.find(b"IDAT") + 40] ^= 0xFF
    rows = [
        ("PNG 64x48, 100 zTXt chunks of 7 MB", "ztxt.png", png(64, 48, extra=ztxt), 0, "", True),
        ("PNG 16-bit RGBA 6960x5200", "rgba16.png", png(6960, 5200, 16, 6), 0, "", True),
        ("PNG claiming 100000x100000", "claims_100000.png",
         png(100000, 100000, pixels=False), 1, "te groot", True),
        ("PNG cut short", "short.png", half(encoded(photo, "PNG")), 0, "onvolledig", True),
        ("PNG with a wrong checksum", "crc.png", broken, 1, "beschadigd", True),
        ("TIFF float32 RGBA 5280x4000", "rgba_float.tif",
         tiff(5280, 4000, [32] * 4, sample_format=3, extra=[2]), 0, "", True),
        ("TIFF float32 grey", "grey_float.tif",
         tiff(640, 480, [32], photometric=1, sample_format=3), 0, "", True),
        ("TIFF 32-bit integer RGB", "int32.tif", tiff(640, 480, [32] * 3), 0, "", True),
        ("TIFF 16-bit CMYK", "cmyk16.tif", tiff(640, 480, [16] * 4, photometric=5), 0, "", True),
        ("TIFF in 256x256 tiles, one tile", "tiled.tif", None, 0, "", True),
        ("TIFF cut short", "short.tif", half(read("strips.tif")), 0, "onvolledig", True),
        ("TIFF whose JPEG strips hold deflated bytes", "not_jpeg.tif",
         tiff(640, 480, [8] * 3, compression=7), 1, "beschadigd", True),
        ("AVIF 6032x4520 12-bit 4:4:4, av1C says 8-bit grey", "lying.avif", lying, 1,
         "beschadigd", True),
        ("AVIF grid of 141x141 tiles of 16x16", "tiles_141x141.avif",
         heif_grid(tiny, [0] * 19881, 141, 141, 2256, 2256, b"avif"), 1, "tegels", True),
        ("HEIC grid of 141x141 tiles of 64x64", "tiles_141x141.heic",
         heif_grid(blue, [0] * 19881, 141, 141, 9024, 9024), 1, "tegels", True),
        ("HEIC grid of 100x100 tiles of 64x64", "tiles_100x100.heic",
         heif_grid(blue, [0] * 10000, 100, 100, 6400, 6400), 1, "tegels", True),
        ("HEIC grid of 8x6 tiles of 512x512, as phones write", "phone_grid.heic",
         heif_grid(phone, [0] * 48, 8, 6, 4096, 3072), 0, "", True),
        ("HEIC grid whose tiles overlap", "overlap.heic",
         heif_grid(sizes, overlapping, 2, 16, 192, 1024), 1, "beschadigd", True),
        ("HEIC grid larger than its tiles", "beyond_tiles.heic",
         heif_grid(blue, [0] * 4, 2, 2, 256, 256), 1, "beschadigd", True),
        ("HEIF whose only brand is avis", "avis.avif", with_brands(avif, b"avis"), 1,
         "niet ondersteund", True),
        ("HEIF whose only brand is msf1", "msf1.heic", with_brands(heic, b"msf1"), 1,
         "niet ondersteund", True),
        ("HEIF whose only brand is heim", "heim.heic", with_brands(heic, b"heim"), 1,
         "niet ondersteund", True),
        ("HEIF whose only brand is hevc", "hevc.heic", with_brands(heic, b"hevc"), 1,
         "niet ondersteund", True),
        ("HEIF with a VVC picture", "vvc.heif", with_brands(
            heic.replace(b"hvc1", b"vvc1").replace(b"hvcC", b"vvcC"), b"mif1"), 1,
         "niet ondersteund", True),
        ("HEIC cut short", "short.heic", half(heic), 1, "onvolledig", True),
        ("WebP animated 8000x6000", "anim_8000.webp", webp_resized(read("anim.webp"), 8000, 6000),
         1, "te groot", True),
        ("WebP animated 6500x4500", "anim_6500.webp", webp_resized(read("anim.webp"), 6500, 4500),
         0, "", True),
        ("WebP cut short", "short.webp", half(encoded(photo, "WEBP")), 1, "onvolledig", True),
        ("Unix socket", "unix.jpg", None, 1, "socket", True),
        ("JPEG 134 MP CMYK progressive", "cmyk.jpg", forged_jpeg("CMYK", 11580, 11580), 1,
         "te groot", True),
        ("JPEG 100 MP CMYK progressive", "cmyk100.jpg", forged_jpeg("CMYK", 12240, 8160), 1,
         "te groot", True),
        ("JPEG 108 MP 4:4:4 progressive", "444.jpg",
         forged_jpeg("RGB", 12000, 9000, subsampling=0), 1, "te groot", True),
        ("JPEG 100 MP 4:2:0 progressive", "420.jpg",
         forged_jpeg("RGB", 12240, 8160, subsampling=2), 0, "", True),
        ("BMP 64 MP", "64mp.bmp", None, 0, "", True),
        ("GIF 64 MP", "64mp.gif", None, 0, "", True),
    ]
    for _, name, data, *_ in rows:
        if data is not None:
            with open(path(name), "wb") as file:
                file.write(data)
    return [(label, path(name), code, words, today) for label, name, _, code, words, today in rows]


if __name__ == "__main__":
    print(json.dumps(make(sys.argv[1])))
