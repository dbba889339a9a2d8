# SPDX-License-Identifier: GPL-3.0-or-later
# Photos that cost the decoder the most memory for their size, made at run
# time: forged frame headers that make a multi-scan JPEG decoder buffer
# gigabytes, and real large BMP and GIF files. Each with whether it must load.
#     /usr/bin/python3 tests/cli/hostile_photos.py FOLDER   prints them as JSON
import json
import os
import struct
import sys

from PIL import Image


def with_jpeg_size(data, width, height):
    """The same JPEG with its frame header claiming another size."""
    data = bytearray(data)
    pos = 2
    while pos + 4 <= len(data):
        marker, length = data[pos + 1], struct.unpack(">H", data[pos + 2:pos + 4])[0]
        if 0xC0 <= marker <= 0xC2:
            struct.pack_into(">HH", data, pos + 5, height, width)
            return bytes(data)
        pos += 2 + length
    raise ValueError("no frame header")


def forged(folder, name, mode, width, height, **options):
    path = os.path.join(folder, name)
    Image.new(mode, (64, 48), (90, 140, 200) if mode == "RGB" else 0).save(
        path, "JPEG", progressive=True, **options)
    with open(path, "rb") as file:
        data = with_jpeg_size(file.read(), width, height)
    with open(path, "wb") as file:
        file.write(data)
    return path


def make(folder):
    """(name, path, loads) for each photo of the corpus."""
    big = Image.effect_noise((8000, 8000), 40).convert("RGB")
    bmp, gif = os.path.join(folder, "64mp.bmp"), os.path.join(folder, "64mp.gif")
    big.save(bmp)
    big.convert("P", palette=Image.ADAPTIVE, colors=64).save(gif)
    return [
        ("134 MP CMYK progressive", forged(folder, "cmyk.jpg", "CMYK", 11580, 11580), False),
        ("100 MP CMYK progressive", forged(folder, "cmyk100.jpg", "CMYK", 12240, 8160), False),
        ("108 MP 4:4:4 progressive",
         forged(folder, "444.jpg", "RGB", 12000, 9000, subsampling=0), False),
        ("100 MP 4:2:0 progressive",
         forged(folder, "420.jpg", "RGB", 12240, 8160, subsampling=2), True),
        ("64 MP BMP", bmp, True),
        ("64 MP GIF", gif, True),
    ]


if __name__ == "__main__":
    print(json.dumps(make(sys.argv[1])))
