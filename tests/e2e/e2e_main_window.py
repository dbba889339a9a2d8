"""Starts the real program in a real X server, looks at its window and leaves
it with the Exit button."""
import os
import sys
import time

from PIL import Image, ImageStat

from xsession import XSession, fail, output_dir, wait_for

PIXELS_PER_TWIP = 1 / 15


def main(program):
    with XSession() as x:
        process = x.start(program)
        window = x.find_window(" Jaar Ostrabel")
        time.sleep(0.5)
        shot = x.screenshot(window, os.path.join(output_dir(), "e2e-main-window.png"))
        image = Image.open(shot).convert("RGB")
        if image.size != (416, 258):
            fail("client area is %s, expected 416 x 258" % (image.size,))
        if max(ImageStat.Stat(image).stddev) < 10:
            fail("the window looks blank")
        # The Exit face is red and the Ok face blue, at their resting places
        # inside the frame (frame at 5, -1 px).
        exit_face = image.getpixel((5 + int(5340 * PIXELS_PER_TWIP) + 5, -1 + 216 + 5))
        ok_face = image.getpixel((5 + int(4590 * PIXELS_PER_TWIP) + 5, -1 + 216 + 5))
        if not (exit_face[0] > 150 and exit_face[2] < 50):
            fail("no red Exit button where expected: %s" % (exit_face,))
        if not (ok_face[2] > 150 and ok_face[0] < 50):
            fail("no blue Ok button where expected: %s" % (ok_face,))

        started = time.monotonic()
        x.click(window, 5 + 356 + 20, -1 + 216 + 15)
        if wait_for(lambda: process.poll() is not None, timeout=10) is None:
            fail("the program did not end after Exit")
        took = time.monotonic() - started
        if process.returncode != 0:
            fail("exit code %d: %s" % (process.returncode, process.stdout.read()))
        if took < 0.3:
            fail("ended after %.2f s, before the press and exit waits" % took)
        print("1 passed, 0 failed")


if __name__ == "__main__":
    main(sys.argv[1])
