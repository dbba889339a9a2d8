#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Peak memory and time of whole ostrabel-cli runs, one run a photo: every
photo of the hostile corpus (tests/cli/hostile_photos.py), and beside them an
honest 50-megapixel photo of each format, the measure for how long any photo
of that format may take. Prints figures only.

    /usr/bin/python3 bench/bench_memory.py build/src/ostrabel-cli
"""
import json
import os
import struct
import subprocess
import sys
import tempfile
import time
import zlib

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, "..", "tests", "cli"))
FORMATS = {".jpg": "JPEG", ".heic": "HEIC", ".heif": "HEIC", ".avif": "AVIF", ".png": "PNG",
           ".webp": "WebP", ".tif": "TIFF", ".bmp": "BMP", ".gif": "GIF"}
WIDTH, HEIGHT = 8160, 6120  # a 50-megapixel phone's photo, 49.9 megapixels


def texture():
    """Smooth colour under a fine grain, as a photo has."""
    from PIL import Image
    ramp = Image.linear_gradient("L")
    image = Image.merge("RGB", [ramp.rotate(a).resize((WIDTH, HEIGHT)) for a in (90, 0, 45)])
    noise, grain = Image.effect_noise((997, 991), 40).convert("RGB"), Image.new("RGB", image.size)
    for y in range(0, HEIGHT, 991):
        for x in range(0, WIDTH, 997):
            grain.paste(noise, (x, y))
    return Image.blend(image, grain, 0.3)


def doubled(data):
    """8-bit samples as 16-bit ones (v * 257), whose two bytes are alike in either order."""
    out = bytearray(2 * len(data))
    out[0::2], out[1::2] = data, data
    return out


def png16(image):
    from hostile_photos import chunk
    stream, row = zlib.compressobj(1), WIDTH * 3
    pixels, idat = image.tobytes(), []
    for y in range(HEIGHT):
        idat.append(stream.compress(b"\0" + doubled(pixels[y * row:(y + 1) * row])))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", WIDTH, HEIGHT, 16, 2,
                                                               0, 0, 0))
            + chunk(b"IDAT", b"".join(idat) + stream.flush()) + chunk(b"IEND", b""))


def tiff16(image):
    """Uncompressed, in one strip, as scanners write."""
    pixels = doubled(image.tobytes())
    tags = [(256, 4, 1, WIDTH), (257, 4, 1, HEIGHT), (258, 3, 3, 8 + 2 + 10 * 12 + 4),
            (259, 3, 1, 1), (262, 3, 1, 2), (273, 4, 1, 8 + 2 + 10 * 12 + 4 + 6),
            (277, 3, 1, 3), (278, 4, 1, HEIGHT), (279, 4, 1, len(pixels)), (284, 3, 1, 1)]
    return (b"II*\0" + struct.pack("<IH", 8, len(tags))
            + b"".join(struct.pack("<HHII", *tag) for tag in tags) + b"\0" * 4
            + struct.pack("<3H", 16, 16, 16) + pixels)


def honest(folder):
    """Writes one 50-megapixel photo of each format; returns (label, path) rows."""
    from hostile_photos import coded, heif_grid
    from make_test_photos import heif_encoded
    from PIL import Image
    image, rows = texture(), []

    def save(label, name, make):
        path = os.path.join(folder, name)
        make(path)
        rows.append(("%s (%.1f MB)" % (label, os.path.getsize(path) / 1e6), path))

    def write(data):
        return lambda path: open(path, "wb").write(data)

    save("JPEG quality 90", "honest.jpg", lambda path: image.save(path, quality=90))
    # A phone's: a grid of 512 x 512 tiles, the last ones cropped (HEVC allows no
    # single picture this large).
    tiles = [coded(heif_encoded(image.crop((x, 0, x + 512, 512)))) for x in (0, 997, 1994, 2991)]
    save("HEIC grid of 16x12 tiles, quality 90", "honest.heic", write(heif_grid(
        tiles, [i % 4 for i in range(192)], 16, 12, WIDTH, HEIGHT)))
    save("AVIF 4:2:0, avifenc speed 10", "honest.avif", lambda path: subprocess.run(
        ["avifenc", "-j", "2", "-s", "10", "-y", "420", rows[0][1], path], check=True,
        stdout=subprocess.DEVNULL))
    save("PNG 8-bit", "honest.png", image.save)
    save("PNG 16-bit", "honest16.png", write(png16(image)))
    save("WebP quality 90", "honest.webp", lambda path: image.save(path, quality=90, method=2))
    save("TIFF 8-bit LZW", "honest.tif", lambda path: image.save(path, compression="tiff_lzw"))
    save("TIFF 16-bit", "honest16.tif", write(tiff16(image)))
    save("BMP 24-bit", "honest.bmp", image.save)
    save("GIF, web palette", "honest.gif", image.convert(
        "P", palette=Image.Palette.WEB, dither=Image.Dither.NONE).save)
    return rows


def run(cli, path, out):
    """Peak resident MB, seconds, exit code and standard error of one whole run."""
    start = time.monotonic()
    child = subprocess.Popen([cli, "--foto", path, out], stderr=subprocess.PIPE)
    err = child.stderr.read().decode(errors="replace")
    _, status, usage = os.wait4(child.pid, 0)
    return usage.ru_maxrss // 1024, time.monotonic() - start, os.waitstatus_to_exitcode(status), err


def main(cli):
    with tempfile.TemporaryDirectory() as work:
        # Made in other processes, so this one stays small: a child's peak
        # counts what it shared of this one before it ran.
        def made(*command):
            return json.loads(subprocess.run([sys.executable, *command, work], check=True,
                                             stdout=subprocess.PIPE).stdout)
        corpus = [(row[0], row[1]) for row in made(os.path.join(here, "..", "tests", "cli",
                                                               "hostile_photos.py"))]
        corpus.append(("JPEG baseline claiming 16320x12240", os.path.join(
            here, "..", "tests", "fuzz", "corpus", "jpeg_claims_16320.jpg")))
        photos = made(__file__, "--honest")
        print("One whole run of %s --foto PHOTO out.pdf a photo (decoded for print, as the window"
              " and paper have it): peak resident memory, wall time,"
              " exit code, standard error's first line" % cli)
        results = {}
        for title, rows in ("hostile corpus", corpus), ("honest 50 MP photos, %d x %d" % (
                WIDTH, HEIGHT), photos):
            print("\n%s\n%-5s %-52s %7s %7s %4s  %s" % (title, "", "photo", "peak MB", "seconds",
                                                         "exit", "standard error"))
            for label, path in sorted(rows, key=lambda row: FORMATS[os.path.splitext(row[1])[1]]):
                kind = FORMATS[os.path.splitext(path)[1]]
                peak, seconds, code, err = run(cli, path, os.path.join(work, "out.pdf"))
                results.setdefault(kind, []).append((rows is photos, label, peak, seconds))
                first = err.replace(work + "/", "").split("\n")[0]
                print("%-5s %-52s %7d %7.2f %4d  %.90s" % (kind, label, peak, seconds, code, first))
        print("\nper format: the honest photo's time; the corpus's slowest photo and worst peak")
        for kind, found in sorted(results.items()):
            fair = ", ".join("%.2f s (%s)" % (seconds, label.split(" (")[0])
                             for is_honest, label, _, seconds in found if is_honest)
            hostile = [row for row in found if not row[0]]
            slow, worst = max(hostile, key=lambda r: r[3]), max(hostile, key=lambda r: r[2])
            print("%-5s honest %s\n      corpus: slowest %.2f s (%s), worst %d MB (%s)" % (
                kind, fair, slow[3], slow[1], worst[2], worst[1]))
        everything = [row for found in results.values() for row in found]
        worst, slow = max(everything, key=lambda r: r[2]), max(everything, key=lambda r: r[3])
        print("worst peak %d MB (%s), the target at most 512 MB; slowest %.2f s (%s)" % (
            worst[2], worst[1], slow[3], slow[1]))


if __name__ == "__main__":
    if sys.argv[1] == "--honest":
        print(json.dumps(honest(sys.argv[2])))
    else:
        main(sys.argv[1])
