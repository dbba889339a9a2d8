"""Printing in the real program through a real CUPS queue: OK with "Print"
and three copies sends one job with copies = 3 whose page carries the texts,
the year, the months and the photo where the page puts them; the failures
(bad copy counts, no default printer, a queue that refuses the job, no
printing system) give a message, send nothing and leave the program running;
Exit during the sweep still sends the page first. Needs root: it starts CUPS when it is not running and
puts back whatever it changed (see testprinter.py)."""
import os
import subprocess
import sys
import time

from PIL import Image

from testprinter import PrinterError, TestPrinter, client_env
from xsession import XSession, fail, output_dir, wait_for

# Pixel positions inside the main window's client area (Frame1 sits at 5, -1).
PHOTO_AREA = (5 + 14 + 14 + 49, -1 + 20 + 20 + 29)
PRINT_OPTION = (5 + 12 + 8, -1 + 230 + 7)
COPIES_BOX = (5 + 134 + 10, -1 + 218 + 10)
YEAR_BOX = (5 + 180 + 15, -1 + 218 + 10)
MAIN_OK = (5 + 306 + 20, -1 + 216 + 15)
MAIN_EXIT = (5 + 356 + 20, -1 + 216 + 15)

PHOTO_LEFT = (0, 120, 255)
PHOTO_RIGHT = (255, 140, 0)
MONTHS = ("Januari", "Februari", "Maart", "April", "Mei", "Juni", "Juli", "Augustus",
          "September", "Oktober", "November", "December")
A4_POINTS = (595.28, 841.89)


def pt(twips):
    return twips / 20.0


class Program:
    def __init__(self, x, program, env=None):
        self.x = x
        if env is None:
            self.process = x.start(program)
        else:
            self.process = subprocess.Popen([program], env=env, stdout=subprocess.PIPE,
                                            stderr=subprocess.STDOUT, text=True)
            x.processes.append(self.process)
        self.window = x.find_window(" Jaar Ostrabel")
        self.windows = set(x.xdotool("search", "--pid", self.process.pid).splitlines())
        time.sleep(0.5)

    def click(self, spot):
        self.x.click(self.window, *spot)

    def fill(self, spot, text):
        self.click(spot)
        self.x.key("ctrl+a")
        self.x.type_text(text)
        time.sleep(0.2)

    def choose_photo(self, path):
        self.click(PHOTO_AREA)
        dialog = wait_for(lambda: self.new_windows(), timeout=20)
        if not dialog:
            fail("no file dialog appeared")
        time.sleep(0.8)  # Qt's own dialog opens with the focus in the file name field
        self.x.key("ctrl+a")
        self.x.type_text(path)
        time.sleep(0.3)
        self.x.key("Return")
        if not wait_for(lambda: not self.new_windows(), timeout=20):
            fail("the file dialog did not close")
        self.windows = set(self.x.xdotool("search", "--pid", self.process.pid).splitlines())

    def new_windows(self):
        found = self.x.xdotool("search", "--onlyvisible", "--pid", self.process.pid).splitlines()
        return [w for w in found if w not in self.windows and w != self.window]

    def running(self):
        return self.process.poll() is None


def expect_message(program, name):
    """A message box comes up; it is closed with Return and the program goes on."""
    box = wait_for(program.new_windows, timeout=30)
    if not box:
        fail("%s: no message box" % name)
    box = box[0]
    time.sleep(0.3)
    program.x.screenshot(box, os.path.join(output_dir(), "e2e-print-%s.png" % name.replace(" ", "-")))
    program.x.xdotool("windowfocus", "--sync", box)
    program.x.key("Return")
    if not wait_for(lambda: not program.new_windows(), timeout=10):
        fail("%s: the message box did not close" % name)
    time.sleep(0.3)
    if not program.running():
        fail("%s: the program ended" % name)


def wait_new_job(printer, before, name):
    def new_jobs():
        return [j for j in printer.jobs() if j not in before]
    job = wait_for(new_jobs, timeout=60)
    if not job:
        fail("%s: no job reached the queue" % name)
    if not printer.wait_completed(job[0]):
        fail("%s: job %d did not complete" % (name, job[0]))
    time.sleep(1.5)  # a page sent once per copy would show up by now
    if len(new_jobs()) != 1:
        fail("%s: %d jobs instead of one" % (name, len(new_jobs())))
    return job[0]


def pdf_words(path):
    """Words of page 1 with their boxes in points."""
    html = subprocess.run(["pdftotext", "-f", "1", "-l", "1", "-bbox", path, "-"],
                          capture_output=True, text=True, check=True).stdout
    words = []
    for line in html.splitlines():
        line = line.strip()
        if line.startswith("<word "):
            attributes = dict(part.split("=", 1) for part in line[6:line.index(">")].split())
            text = line[line.index(">") + 1:line.rindex("</word>")]
            box = {k: float(v.strip('"')) for k, v in attributes.items()}
            words.append((text, box["xMin"], box["yMin"], box["xMax"], box["yMax"]))
    return words


def find_word(words, text, origin, y, x_min=None, x_max=None, tolerance=1.5, end_tolerance=4.0):
    """The word at y (points from the printable area's top), starting at x_min
    or ending at x_max."""
    left, top = origin
    candidates = [w for w in words if w[0] == text and abs(w[2] - top - y) <= tolerance]
    for word in candidates:
        if x_min is not None and abs(word[1] - left - x_min) > tolerance:
            continue
        if x_max is not None and abs(word[3] - left - x_max) > end_tolerance:
            continue
        return word
    fail("no %r at y %.1f, x %s..%s pt from the printable area; found %s" % (
        text, y, x_min, x_max, [(w[1] - left, w[2] - top, w[3] - left) for w in words
                                if w[0] == text]))


def check_pdf(path, origin, copies):
    info = subprocess.run(["pdfinfo", "-l", "100", path], capture_output=True, text=True,
                          check=True).stdout
    pages = int([l for l in info.splitlines() if l.startswith("Pages:")][0].split()[1])
    if "Ostrabel kalender 2009" not in info:
        fail("the document is not named after the calendar:\n" + info)
    # The queue's driver makes the copies itself: one page for each.
    if pages != copies:
        fail("%d pages in the output for %d copies of one page" % (pages, copies))
    for line in info.splitlines():
        if line.startswith("Page") and "size:" in line:
            width, height = map(float, line.split("size:")[1].split()[0:3:2])
            if abs(width - A4_POINTS[0]) > 1 or abs(height - A4_POINTS[1]) > 1:
                fail("not an upright A4 page: %s" % line)

    words = pdf_words(path)
    header, footer = pt(450), pt(7720)
    find_word(words, "Koptekst", origin, header, x_min=pt(900))
    # The year prints as a number: a blank, the digits, a blank.
    year = [w for w in words if w[0] == "2009"]
    if not year or not (0 < year[0][1] - origin[0] - pt(5220) < 8) or \
            abs(year[0][2] - origin[1] - header) > 1.5:
        fail("the year is not at (5220, 450) twips: %s" % (year,))
    # The right-hand texts end at 10695 twips, as measured in the labels.
    find_word(words, "rechts", origin, header, x_max=pt(10695))
    find_word(words, "Voettekst", origin, footer, x_min=pt(900))
    find_word(words, "rechts", origin, footer, x_max=pt(10695))
    find_word(words, "www.ostrabel.nl", origin, footer, x_min=pt(4800))
    for index, name in enumerate(MONTHS):
        x = 870 + 2505 * (index % 4)
        y = 8220 + 2580 * (index // 4)
        word = find_word(words, name, origin, pt(y + 30))
        if not (pt(x + 630) - 0.5 <= word[1] - origin[0] and word[3] - origin[0] <= pt(x + 2310)):
            fail("%s is not inside its block: %s" % (name, word))

    # The photo fills its frame, unturned; the frame lies just outside it.
    dpi = 144
    png = os.path.join(output_dir(), "e2e-print-page")
    subprocess.run(["pdftoppm", "-f", "1", "-l", "1", "-r", str(dpi), "-png", "-singlefile", path,
                    png], check=True)
    page = Image.open(png + ".png").convert("RGB")
    scale = dpi / 72.0

    def pixel(tx, ty):
        return page.getpixel((round((origin[0] + pt(tx)) * scale),
                              round((origin[1] + pt(ty)) * scale)))

    for tx, ty, colour in ((1200, 1300, PHOTO_LEFT), (5000, 7400, PHOTO_LEFT),
                           (6600, 1300, PHOTO_RIGHT), (10400, 7400, PHOTO_RIGHT)):
        found = pixel(tx, ty)
        if max(abs(a - b) for a, b in zip(found, colour)) > 40:
            fail("photo at twips (%d, %d) is %s, expected %s" % (tx, ty, found, colour))

    def dark_near(tx, ty, horizontal):
        for step in range(-3, 4):
            shift = step * 20.0 / scale  # twips per pixel step
            x, y = (tx, ty + shift) if horizontal else (tx + shift, ty)
            if sum(pixel(x, y)) < 3 * 80:
                return True
        return False

    for tx, ty, horizontal in ((5800, 1020, True), (5800, 7680, True), (870, 4350, False),
                               (10730, 4350, False)):
        if not dark_near(tx, ty, horizontal):
            fail("no frame line at twips (%d, %d)" % (tx, ty))


def main(program):
    try:
        with TestPrinter() as printer, XSession() as x:
            run(program, printer, x)
    except PrinterError as error:
        fail(str(error))
    print("1 passed, 0 failed")


def run(program, printer, x):
    origin = printer.printable_area()
    x.env = client_env(x.env)
    photo = os.path.join(x.home, "foto.bmp")
    image = Image.new("RGB", (640, 480), PHOTO_LEFT)
    image.paste(PHOTO_RIGHT, (320, 0, 640, 480))
    image.save(photo)

    app = Program(x, program)
    app.choose_photo(photo)
    app.click(PRINT_OPTION)
    app.fill(YEAR_BOX, "2009")

    # Three copies of one page.
    app.fill(COPIES_BOX, "3")
    before = printer.jobs()
    app.click(MAIN_OK)
    job = wait_new_job(printer, before, "three copies")
    attributes = printer.job_attributes(job)
    if attributes.get("copies") != "3":
        fail("the job asks for copies %s, not 3" % attributes.get("copies"))
    if attributes.get("media") != "A4":
        fail("the job's paper is %s, not A4" % attributes.get("media"))
    if not wait_for(lambda: os.path.exists(printer.output), timeout=20):
        fail("nothing was printed into %s" % printer.output)
    check_pdf(printer.output, origin, 3)
    if not app.running():
        fail("the program ended after printing")

    def refused(name, program=app):
        """OK gives a message and sends nothing."""
        before = printer.jobs()
        program.click(MAIN_OK)
        expect_message(program, name)
        if printer.jobs() != before:
            fail("%s: a job was sent" % name)

    # Copy counts that are no whole number from 1 on: nothing is sent.
    for text in ("abc", "0"):
        app.fill(COPIES_BOX, text)
        refused("copies %s" % text)
    app.fill(COPIES_BOX, "1")
    with printer.no_default():
        refused("no default printer")
    with printer.rejecting():
        refused("queue refuses the job")

    # No printing system: stop the scheduler if it is ours, otherwise point a
    # second copy of the program at a server that is not there.
    if printer.owns_scheduler:
        printer.stop_scheduler()
        refused("CUPS stopped")
        printer.start_scheduler()
    else:
        env = dict(x.env, CUPS_SERVER=os.path.join(x.home, "no-cups.sock"))
        other = Program(x, program, env)
        other.click(PRINT_OPTION)
        refused("CUPS unreachable", other)
        other.click(MAIN_EXIT)
        wait_for(lambda: not other.running(), timeout=10)

    # Exit during the sweep: the page is sent first, then the program ends.
    before = printer.jobs()
    app.click(MAIN_OK)
    time.sleep(0.6)
    app.click(MAIN_EXIT)
    if wait_for(lambda: not app.running(), timeout=30) is None:
        fail("the program did not end after Exit during the sweep")
    if app.process.returncode != 0:
        fail("exit code %d after Exit during the sweep" % app.process.returncode)
    job = wait_new_job(printer, before, "exit during the sweep")
    if printer.job_attributes(job).get("copies", "1") != "1":
        fail("the last job asks for more than one copy")


if __name__ == "__main__":
    main(sys.argv[1])
