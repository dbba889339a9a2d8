# SPDX-License-Identifier: GPL-3.0-or-later
# The road a user takes, in the real program on a real X server with a real
# CUPS queue on a driverless printer set to A4: load a photo through the file
# dialog, crop it into its frame through the photo area's menu, preview the
# page and save it as BMP, print three copies, leave with Exit.
import os
import subprocess
import sys
import time

from PIL import Image

from fixtures import XSession, check_driverless_print, driverless_queue, fail, wait_for

# Places in the main window's client area, in pixels (Frame1 sits at 5, -1),
# and in the preview's.
PHOTO_AREA, YEAR_BOX, COPIES_BOX = (82, 68), (200, 227), (149, 227)
PRINT_OPTION, MAIN_OK, MAIN_EXIT = (25, 236), (331, 230), (381, 230)
PREVIEW_OK, PREVIEW_EXIT = (355, 612), (405, 612)
GREEN = (20, 160, 60)


def main(program):
    with driverless_queue("A4") as queue, XSession() as x:
        photo, bmp = os.path.join(x.home, "foto.jpg"), os.path.join(x.home, "kalender.bmp")
        # A red band along the top that cropping the 4:3 photo cuts off.
        picture = Image.new("RGB", (640, 480), GREEN)
        picture.paste((200, 30, 30), (0, 0, 640, 16))
        picture.save(photo, quality=95)
        app = subprocess.Popen([program], env=x.env)
        window = x.window(" Jaar Ostrabel")

        def choose_file(click_window, spot, path):
            # Qt's own dialog opens with the focus in the file name field.
            shown = len(x.xdotool("search", "--onlyvisible", "--pid", app.pid))
            x.click(click_window, *spot)
            wait_for(lambda: len(x.xdotool("search", "--onlyvisible", "--pid", app.pid)) > shown,
                     30) or fail("no file dialog")
            time.sleep(0.8)
            x.type(path)
            x.xdotool("key", "Return")

        choose_file(window, PHOTO_AREA, photo)
        time.sleep(0.5)
        shown = len(x.xdotool("search", "--onlyvisible", "--pid", app.pid))
        x.xdotool("mousemove", "--window", window, *PHOTO_AREA, "click", "3")
        wait_for(lambda: len(x.xdotool("search", "--onlyvisible", "--pid", app.pid)) > shown) or fail(
            "no menu on the photo area")
        x.xdotool("key", "Down", "Down", "Return")  # Uitrekken, Bijsnijden
        x.click(window, *YEAR_BOX)
        x.type("2009")
        x.click(window, *MAIN_OK)
        preview = x.window(" Example")
        choose_file(preview, PREVIEW_OK, bmp)
        wait_for(lambda: os.path.exists(bmp) and os.path.getsize(bmp) == 2543254) or fail(
            "no BMP of 770 x 1100 pixels")
        page = Image.open(bmp).convert("RGB")
        for tx, ty in ((1200, 1060), (10400, 7400)):
            pixel = page.getpixel((tx // 15, ty // 15))
            if max(abs(a - b) for a, b in zip(pixel, GREEN)) > 40:
                fail("no photo at twips (%d, %d): %s" % (tx, ty, pixel))

        # January 2009 begins on Thursday: day 1 in the fifth column.
        def ink(column):
            left, top = (870 + 330 * column + 30) // 15, (8220 + 300 + 345) // 15
            return min(page.crop((left, top, left + 15, top + 12)).convert("L").getdata()) < 128
        if not ink(4) or ink(3):
            fail("January 2009 does not begin on Thursday")
        # The command line makes the same bytes from the same choices.
        cli = [os.path.join(os.path.dirname(program), "ostrabel-cli"), "--jaar", "2009", "--foto",
               photo, "--foto-passen", "bijsnijden", "--kop-links", "Koptekst links",
               "--kop-rechts", "Koptekst rechts",
               "--voet-links", "Voettekst links", "--voet-rechts", "Voettekst rechts", bmp + ".bmp"]
        subprocess.run(cli, check=True)
        subprocess.run(cli[:-1] + [bmp + ".pdf"], check=True)
        if open(bmp, "rb").read() != open(bmp + ".bmp", "rb").read():
            fail("ostrabel-cli's BMP differs from the one the preview saved")
        x.click(preview, *PREVIEW_EXIT)
        wait_for(lambda: not x.xdotool("search", "--onlyvisible", "--name", "^ Example$")) or fail(
            "the preview did not close")

        x.click(window, *PRINT_OPTION)
        x.click(window, *COPIES_BOX)
        x.type("3")
        x.click(window, *MAIN_OK)
        check_driverless_print(queue, 3, bmp + ".pdf")

        x.click(window, *MAIN_EXIT)
        if wait_for(lambda: app.poll() is not None, 10) is None or app.returncode != 0:
            fail("Exit did not end the program with code 0")
    print("the road passed")


if __name__ == "__main__":
    main(sys.argv[1])
