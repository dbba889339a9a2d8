"""The whole bitmap job in the real program: load a photo through the real
file dialog, open the preview, save the page as BMP, for both sizes."""
import datetime
import os
import struct
import sys
import time

from PIL import Image

from xsession import XSession, fail, output_dir, wait_for

# Pixel positions inside the main window's client area (Frame1 sits at 5, -1).
PHOTO_AREA = (5 + 14 + 14 + 49, -1 + 20 + 20 + 29)
MAIN_OK = (5 + 306 + 20, -1 + 216 + 15)
MAIN_EXIT = (5 + 356 + 20, -1 + 216 + 15)
YEAR_BOX = (5 + 180 + 15, -1 + 218 + 10)
SIZE_TOGGLE = (5 + 338 + 8, -1 + 102 + 11)
PREVIEW_OK = (335 + 20, 597 + 15)
PREVIEW_EXIT = (385 + 20, 597 + 15)


def choose_file(x, path):
    """Qt's own dialog opens with the focus in the file name field."""
    dialog = wait_for(lambda: [w for w in x.xdotool("search", "--onlyvisible", "--class",
                                                    "ostrabel").splitlines()
                               if w not in known_windows(x)], timeout=20)
    if not dialog:
        fail("no file dialog appeared")
    time.sleep(0.8)
    x.key("ctrl+a")
    x.type_text(path)
    time.sleep(0.3)
    x.key("Return")
    time.sleep(0.5)


_known = set()


def known_windows(x):
    return _known


def bmp_header(path):
    with open(path, "rb") as file:
        header = file.read(54)
    if header[:2] != b"BM":
        fail("%s is no BMP" % path)
    width, height = struct.unpack("<ii", header[18:26])
    bits, compression = struct.unpack("<HI", header[28:34])
    return width, abs(height), bits, compression


def check_page(path, factor, photo_colour):
    width, height, bits, compression = bmp_header(path)
    if (width, height, bits, compression) != (770 * factor, 1100 * factor, 24, 0):
        fail("%s: %dx%d, %d bits, compression %d" % (path, width, height, bits, compression))
    page = Image.open(path).convert("RGB")
    # The photo fills its frame: sample well inside the photo rectangle.
    for tx, ty in ((1200, 1300), (5800, 4350), (10400, 7400)):
        pixel = page.getpixel((tx * factor // 15, ty * factor // 15))
        if max(abs(a - b) for a, b in zip(pixel, photo_colour)) > 40:
            fail("no photo at twips (%d, %d): %s" % (tx, ty, pixel))
    # January 2009 begins on Thursday: day 1 sits in the fifth column of the
    # first week row, and the fourth column of that row is empty.
    year_start = datetime.date(2009, 1, 1).isoweekday() % 7  # Sunday = 0
    def ink(column, row):
        left = (870 + 330 * column + 30) * factor // 15
        top = (8220 + 300 * row + 345) * factor // 15
        box = page.crop((left, top, left + 15 * factor, top + 12 * factor)).convert("L")
        return min(box.getdata()) < 128
    if not ink(year_start, 1):
        fail("no day 1 in column %d" % (year_start + 1))
    if ink(year_start - 1, 1):
        fail("a number before day 1")


def main(program):
    photo_colour = (20, 160, 60)
    with XSession() as x:
        photo = os.path.join(x.home, "foto.jpg")
        Image.new("RGB", (640, 480), photo_colour).save(photo, quality=95)
        process = x.start(program)
        window = x.find_window(" Jaar Ostrabel")
        _known.add(window)
        _known.update(x.xdotool("search", "--class", "ostrabel").splitlines())
        time.sleep(0.5)

        x.click(window, *PHOTO_AREA)
        choose_file(x, photo)
        x.xdotool("mousemove", "--window", window, 1, 1)
        time.sleep(0.5)
        shot = Image.open(x.screenshot(window, os.path.join(output_dir(), "e2e-photo.png")))
        shown = shot.convert("RGB").getpixel(PHOTO_AREA)
        if max(abs(a - b) for a, b in zip(shown, photo_colour)) > 40:
            fail("the photo area shows %s after loading" % (shown,))

        x.click(window, *YEAR_BOX)
        x.key("ctrl+a")
        x.type_text("2009")
        for factor in (1, 2):
            if factor == 2:
                x.click(window, *SIZE_TOGGLE)
                time.sleep(0.3)
            x.click(window, *MAIN_OK)
            preview = x.find_window(" Example", timeout=30)
            _known.update(x.xdotool("search", "--class", "ostrabel").splitlines())
            time.sleep(0.5)
            x.screenshot(preview, os.path.join(output_dir(), "e2e-preview-%d.png" % factor))
            target = os.path.join(x.home, "kalender-%d.bmp" % factor)
            x.click(preview, *PREVIEW_OK)
            choose_file(x, target)
            if not wait_for(lambda: os.path.exists(target), timeout=20):
                fail("no BMP written at size %d" % factor)
            time.sleep(0.5)
            check_page(target, factor, photo_colour)
            x.click(preview, *PREVIEW_EXIT)
            if not wait_for(lambda: not x.xdotool("search", "--onlyvisible", "--name",
                                                  "^ Example$"), timeout=10):
                fail("the preview did not close")
            if process.poll() is not None:
                fail("the program ended with the preview")

        x.click(window, *MAIN_EXIT)
        if wait_for(lambda: process.poll() is not None, timeout=10) is None:
            fail("the program did not end after Exit")
        if process.returncode != 0:
            fail("exit code %d" % process.returncode)
    print("1 passed, 0 failed")


if __name__ == "__main__":
    main(sys.argv[1])
