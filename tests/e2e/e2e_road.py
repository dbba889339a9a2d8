# SPDX-License-Identifier: GPL-3.0-or-later
# The roads a user takes, in the real program on a real X server. With the
# mouse, with a real CUPS queue on a driverless printer set to A4: open the
# program with a photo, load another through the file dialog, crop it into
# its frame through the photo area's menu and drag it, preview the page and
# save it as BMP, print three copies, leave with Exit. With the keyboard
# alone, on a low screen scaled by 2 under a window manager, checked through
# the accessibility tree: a refused photo named on the command line, a photo
# chosen, the preview made and saved, closed, the program left.
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
GREEN, RED, BLUE = (20, 160, 60), (200, 30, 30), (40, 60, 220)


def mouse_road(program):
    with driverless_queue("A4") as queue, XSession() as x:
        photo, bmp = os.path.join(x.home, "foto.jpg"), os.path.join(x.home, "kalender.bmp")
        # A red band along the top, which cropping the 4:3 photo cuts off
        # until the photo is dragged down.
        picture = Image.new("RGB", (640, 480), GREEN)
        picture.paste((200, 30, 30), (0, 0, 640, 16))
        picture.save(photo, quality=95)
        heic = os.path.join(x.home, "foto.heic")
        Image.new("RGB", (64, 48), BLUE).save(heic + ".png")
        subprocess.run(["heif-enc", "-q", "90", "-o", heic, heic + ".png"], check=True,
                       capture_output=True)
        app = subprocess.Popen([program, heic], env=x.env)
        window = x.window(" Jaar Ostrabel")
        wait_for(lambda: close(x.pixel(window, *PHOTO_AREA), BLUE)) or fail(
            "the photo named on the command line is not shown")

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
        x.xdotool("mousemove", "--window", window, *PHOTO_AREA, "mousedown", "1")
        for down in (5, 15, 40):
            x.xdotool("mousemove", "--window", window, PHOTO_AREA[0], PHOTO_AREA[1] + down)
        x.xdotool("mouseup", "1")
        x.click(window, *YEAR_BOX)
        x.type("2009")
        x.click(window, *MAIN_OK)
        preview = x.window(" Example")
        choose_file(preview, PREVIEW_OK, bmp)
        wait_for(lambda: os.path.exists(bmp) and os.path.getsize(bmp) == 2543254) or fail(
            "no BMP of 770 x 1100 pixels")
        page = Image.open(bmp).convert("RGB")
        for tx, ty, colour in ((1200, 1060, RED), (10400, 7400, GREEN)):
            if not close(page.getpixel((tx // 15, ty // 15)), colour):
                fail("not the dragged photo at twips (%d, %d)" % (tx, ty))

        # January 2009 begins on Thursday: day 1 in the fifth column.
        def ink(column):
            left, top = (870 + 330 * column + 30) // 15, (8220 + 300 + 345) // 15
            return min(page.crop((left, top, left + 15, top + 12)).convert("L").getdata()) < 128
        if not ink(4) or ink(3):
            fail("January 2009 does not begin on Thursday")
        # The command line makes the same bytes from the same choices.
        # Dragged down as far as it goes: the frame's shape from the top.
        cli = command_line(program, "--jaar", "2009", "--foto", photo, "--foto-uitsnede",
                           "0,0,1,0.898", bmp + ".bmp")
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
    print("the mouse road passed")


def keyboard_road(program):
    with XSession("1280x800", scale=2, desktop=True) as x:
        photo, bmp = os.path.join(x.home, "foto.jpg"), os.path.join(x.home, "kalender.bmp")
        Image.new("RGB", (400, 300), GREEN).save(photo)
        app = subprocess.Popen([program, os.path.join(x.home, "weg.jpg")], env=x.env)

        def nodes(role=None, name=None):
            return [n for n in x.accessible(app.pid) if (role is None or n.getRoleName() == role)
                    and (name is None or name in n.name)]

        # Keys go where the program itself has put the focus, so each waits
        # for that: a dialog's name field, the page, a message's button.
        def focus(role, name=""):
            import pyatspi
            wait_for(lambda: any(n.getState().contains(pyatspi.STATE_FOCUSED)
                                 for n in nodes(role, name))) or fail("no focus on a " + role)

        def key_to_dialog(key, path):
            x.xdotool("key", key)
            focus("text")
            x.type(path)
            x.xdotool("key", "Return")

        focus("push button", "OK")
        if not nodes("label", "bestaat niet"):
            fail("no reason for a missing photo")
        x.xdotool("key", "Return")
        window = x.window(" Jaar Ostrabel")
        wait_for(lambda: not nodes("label", "bestaat niet")) or fail("the message stays")
        for node in nodes():
            if node.getRoleName() in ("push button", "check box", "combo box", "radio button",
                                      "text", "image") and node.name == "" and node.parent.name:
                fail("a %s without a name under %r" % (node.getRoleName(), node.parent.name))
        buttons = [b for b in nodes("push button") if b.name in ("Ok", "Exit")]
        if len(buttons) != 2 or not all(b.description for b in buttons):
            fail("Ok and Exit are no buttons with a description")
        key_to_dialog("ctrl+o", photo)
        # Too small to print sharply: the warning shows without hovering.
        wait_for(lambda: nodes("push button", "te klein")) or fail("no small-photo warning")
        focus("image", "Kalenderpagina")
        x.xdotool("key", "Return")
        preview = x.window(" Example")
        for shown in (window, preview):
            left, top, width, height = x.frame(shown)
            if left < 0 or top < 0 or left + width > 1280 or top + height > 800:
                fail("a window leaves the screen: %s" % x.frame(shown))
        key_to_dialog("ctrl+s", bmp)
        wait_for(lambda: os.path.exists(bmp) and os.path.getsize(bmp) == 2543254) or fail(
            "no BMP of 770 x 1100 pixels")
        focus("push button", "Opslaan")
        x.xdotool("key", "Escape")
        wait_for(lambda: not x.xdotool("search", "--onlyvisible", "--name", "^ Example$")) or fail(
            "Escape did not close the preview")
        # The preview's buttons are on the screen: a click on Exit closes it.
        x.xdotool("key", "Return")
        x.window(" Example")
        exit_button = wait_for(lambda: nodes("push button", "Sluiten"))[0]
        # Qt's accessibility bridge gives its places in unscaled pixels.
        box = exit_button.queryComponent().getExtents(0)
        x.xdotool("mousemove", (box.x + box.width // 2) * 2, (box.y + box.height // 2) * 2,
                  "click", "1")
        wait_for(lambda: not x.xdotool("search", "--onlyvisible", "--name", "^ Example$")) or fail(
            "a click on Exit did not close the preview")
        x.xdotool("key", "ctrl+q")
        if wait_for(lambda: app.poll() is not None, 10) is None or app.returncode != 0:
            fail("Ctrl+Q did not end the program with code 0")
        subprocess.run(command_line(program, "--jaar", "2005", "--foto", photo, bmp + ".bmp"),
                       check=True)
        if open(bmp, "rb").read() != open(bmp + ".bmp", "rb").read():
            fail("ostrabel-cli's BMP differs from the one saved by keyboard")
    print("the keyboard road passed")


def command_line(program, *args):
    return [os.path.join(os.path.dirname(program), "ostrabel-cli"), "--kop-links",
            "Koptekst links", "--kop-rechts", "Koptekst rechts", "--voet-links", "Voettekst links",
            "--voet-rechts", "Voettekst rechts", *args]


def close(pixel, colour):
    return pixel is not None and max(abs(a - b) for a, b in zip(pixel, colour)) <= 40


if __name__ == "__main__":
    mouse_road(sys.argv[1])
    keyboard_road(sys.argv[1])
