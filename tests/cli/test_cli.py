# SPDX-License-Identifier: GPL-3.0-or-later
# ostrabel-cli from the outside: what each output holds, what each refusal
# says and leaves behind, and what reaches the printer.
#     /usr/bin/python3 tests/cli/test_cli.py PATH/TO/ostrabel-cli
import atexit, json, os, pty, re, resource, shutil, socket, stat, subprocess, sys, tempfile
here = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [here, os.path.join(here, "..", "e2e")]
from fixtures import check_driverless_print, driverless_queue, fail
from PIL import Image

TEXTS = ["--jaar", "2027", "--kop-links", "Familie", "--kop-rechts", "Rechtsboven"]
MONTHS = "Januari Februari Maart April Mei Juni Juli Augustus September Oktober November December"
work = tempfile.mkdtemp(prefix="ostrabel-cli-")
atexit.register(shutil.rmtree, work, True)
os.chmod(work, 0o755)
# A copy where any user may run it, as one row runs it as nobody.
CLI = shutil.copy(sys.argv[1], work)
photo = os.path.join(work, "foto.jpg")
Image.effect_noise((3000, 2000), 60).convert("RGB").save(photo)
junk = os.path.join(work, "geen-foto.jpg")
open(junk, "w").write("geen foto")
secret = shutil.copy(photo, os.path.join(work, "geheim.jpg"))
os.chmod(secret, 0o600)
corpus = os.path.join(here, "..", "fuzz", "corpus")
root = os.geteuid() == 0


def run(args, stdout=subprocess.PIPE, **kw):
    done = subprocess.run([CLI] + args, stdout=stdout, stderr=subprocess.PIPE, **kw)
    return done.returncode, done.stdout, done.stderr.decode()


def check(what, ok):
    ok or fail(what)


def same_pixels(a, b):
    return Image.open(a).convert("RGB").tobytes() == Image.open(b).convert("RGB").tobytes()


# Output (- is standard output as PNG), options beside the texts, first bytes, size.
for out, extra, magic, size in [
        ("k.bmp", [], b"BM", (770, 1100)),
        ("k.png", ["--groot", "--foto", photo], b"\x89PNG", (1540, 2200)),
        ("-", [], b"\x89PNG", (770, 1100)),
        ("k.pdf", ["--foto", photo], b"%PDF", None)]:
    path = os.path.join(work, out if out != "-" else "stdout.png")
    code, data, err = run(TEXTS + extra + ([path] if out != "-" else ["--formaat", "png", "-"]))
    check("%s: exit %d %s" % (out, code, err), code == 0)
    if out == "-":
        open(path, "wb").write(data)
    check("%s: format" % out, open(path, "rb").read(8).startswith(magic))
    if size:
        check("%s: size" % out, Image.open(path).size == size)
        bmp = path + ".bmp"
        run(TEXTS + extra + [bmp])
        check("%s: pixels differ from the BMP" % out, same_pixels(path, bmp))
        continue
    text = subprocess.run(["pdftotext", "-bbox", path, "-"], capture_output=True, text=True).stdout
    pages = re.findall(r'<page width="([\d.]+)" height="([\d.]+)"', text)
    check("pdf: one A4 page %s" % pages, [(round(float(w)), round(float(h))) for w, h in pages]
          == [(595, 842)])
    words = set(re.findall(r">([^<]+)</word>", text))
    missing = set(["Familie", "Rechtsboven", "2027"] + MONTHS.split()) - words
    check("pdf: missing %s" % missing, not missing)
    fonts = subprocess.run(["pdffonts", path], capture_output=True, text=True).stdout
    check("pdf: fonts not embedded\n" + fonts, all(f.split()[-5] == "yes" for f in
                                                    fonts.splitlines()[2:]))
    images = subprocess.run(["pdfimages", "-list", path], capture_output=True, text=True).stdout
    width, height = map(int, images.splitlines()[2].split()[3:5])
    check("pdf: photo %dx%d over 300 dpi" % (width, height), width <= 2042 and height <= 1375)


# Weeks from Monday, week numbers and holidays, read from the page at both
# sizes: 1 January 2027 under Friday, week 53 (wider than week 1 below it)
# on its first row, Easter Monday (29 March) and King's Day (27 April) red,
# and a week number never touching its block's line or the block before.
# In the PDF no word touches another, and 53 stands left of January's first row.
OPTIONS = ["--jaar", "2027", "--week-begint", "maandag", "--weeknummers", "--feestdagen"]
for factor in (1, 2):
    path = os.path.join(work, "opties%d.png" % factor)
    check("options: exit", run(OPTIONS + ["--groot"] * (factor == 2) + [path])[0] == 0)
    page = Image.open(path).convert("RGB")
    px = lambda twips: twips * factor // 15
    block = lambda month: (870 + (month - 1) % 4 * 2505, 8220 + (month - 1) // 4 * 2580)
    def pixels(x0, y0, x1, y1, exact=False):  # twips, or pixels when exact
        return page.crop((x0, y0, x1, y1) if exact else tuple(map(px, (x0, y0, x1, y1)))).getdata()
    def cell(month, row, column):
        x, y = block(month)
        return pixels(x + 330 * column + 40, y + 300 * row + 640, x + 330 * column + 290,
                      y + 300 * row + 860)
    ink = lambda box, red=False: any(p[0] > 150 and p[1] < 80 if red else sum(p) < 450
                                     for p in box)
    check("options x%d: January 2027" % factor, ink(cell(1, 0, 4)) and not ink(cell(1, 0, 3)))
    check("options x%d: holidays" % factor, ink(cell(3, 4, 0), True) and ink(cell(4, 4, 1), True))
    widths = []
    for month in range(1, 13):
        x, y = block(month)
        for row in range(6):  # the pixel columns between two blocks, along a row
            gap = lambda x0, x1: pixels(x0, px(y + 300 * row + 615), x1, px(y + 300 * row + 885),
                                        True)
            check("options x%d: week number touches" % factor,
                  not ink(gap(px(x) - 1, px(x))) and not ink(gap(px(x - 195) + 1, px(x - 195) + 2)))
            marks = [i % (px(x) - px(x - 195)) for i, p in enumerate(gap(px(x - 195), px(x)))
                     if sum(p) < 450]
            widths.append(max(marks) - min(marks) if marks else 0)
    check("options x%d: week 53" % factor, widths[0] > widths[1] > 0)
pdf = os.path.join(work, "opties.pdf")
run(OPTIONS + [pdf])
boxes = [(w, tuple(map(float, b))) for *b, w in re.findall(
    r'xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]+)<',
    subprocess.run(["pdftotext", "-bbox", pdf, "-"], capture_output=True, text=True).stdout)]
for i, (word, (x0, y0, x1, y1)) in enumerate(boxes):
    for other, (u0, v0, u1, v1) in boxes[i + 1:]:
        check("pdf: %s touches %s" % (word, other), x1 <= u0 or u1 <= x0 or y1 <= v0 or v1 <= y0)
check("pdf: week 53", any(w == "53" and b[2] < 43.5 and 441 < b[1] < 456 for w, b in boxes))


def nobody():
    os.setgid(65534)
    os.setuid(65534)


def small_files():
    resource.setrlimit(resource.RLIMIT_FSIZE, (50000, 50000))


# Arguments (T: the existing target), how it runs, exit code, a word of the message.
for args, how, code, word in [
        (["--jaar", "twee", "T"], {}, 1, "jaartal"),
        (["--jaar", "9999999999", "T"], {}, 1, "te groot"),
        (["--afdrukken", "--kopieen", "0", "T"], {}, 1, "kopie"),
        (["--foto", junk, "T"], {}, 1, "geen foto in een bekend formaat"),
        (["--foto", os.path.join(work, "weg.jpg"), "T"], {}, 1, "bestaat niet"),
        (["--foto", work, "T"], {}, 1, "een map"),
        (["--foto", secret, "T"], {"preexec_fn": nobody}, 1, "toestemming"),
        (["--foto", os.path.join(corpus, "truncated_header.jpg"), "T"], {}, 1, "onvolledig"),
        (["--foto", photo, "--formaat", "png", "-"], {"stdout": open(photo, "ab")}, 2, "foto zelf"),
        (["--foto", os.path.join(corpus, "jpeg_claims_60000.jpg"), "T"], {}, 1,
         "60000 x 60000 pixels"),
        (["--formaat", "png", "-"], {"stdout": pty.openpty()[1]}, 2, "terminal"),
        (["--kleur", "T"], {}, 2, "--help"),
        (["T"], {"preexec_fn": nobody}, 1, "toestemming"),
        (["T"], {"preexec_fn": small_files}, 1, "schijf is vol"),
        (["--formaat", "bmp", "-"], {"stdout": subprocess.DEVNULL,
                                     "preexec_fn": lambda: os.close(1)}, 1, "gesloten"),
        (["--formaat", "bmp", "-"], {"stdout": open("/dev/full", "wb")}, 1, "schijf is vol")]:
    folder = tempfile.mkdtemp(dir=work)
    target = os.path.join(folder, "kalender.bmp")
    open(target, "wb").write(b"oud")
    os.chmod(folder, 0o555)
    got, _, err = run([target if a == "T" else a for a in args], cwd=folder, **how)
    check("%s: exit %d, not %d: %s" % (args, got, code, err), got == code)
    check("%s: message %r" % (args, err), word in err and err.count("\n") == 1)
    check("%s: folder changed" % args, os.listdir(folder) == ["kalender.bmp"]
          and open(target, "rb").read() == b"oud")

# What the output is before (made by the function in the folder, which it
# returns), exit code, a word of the message, and what must hold after: what
# needs the real program or root; tst_output holds SafeSave to the rest.
def node(kind, device):
    def make(folder):
        path = os.path.join(folder, "k.bmp")
        os.mknod(path, kind | 0o666, device)
        os.symlink(path, os.path.join(folder, "via.bmp"))
        return os.path.join(folder, "via.bmp")
    return make


def owned(mode, user):
    def make(folder):
        path = os.path.join(folder, "k.bmp")
        open(path, "wb").write(b"oud")
        os.chown(path, user, user)
        os.chmod(path, mode)
        return path
    return make


def unix_socket(folder):
    path = os.path.join(folder, "k.bmp")
    socket.socket(socket.AF_UNIX).bind(path)
    return path


def read_only_mount(folder):
    if subprocess.run(["mount", "-t", "tmpfs", "-o", "ro,size=1m", "tmpfs", folder]).returncode:
        return None  # this machine lets nobody mount: nothing to try
    atexit.register(subprocess.run, ["umount", folder])
    return os.path.join(folder, "k.bmp")


def kind(path):
    return stat.S_IFMT(os.stat(path).st_mode)


for name, make, code, word, after in [
        ("socket", unix_socket, 1, "socket", lambda p: kind(p) == stat.S_IFSOCK),
        ("the photo itself", lambda d: shutil.copy(os.path.join(corpus, "quadrants.bmp"), d)
         and "../" + os.path.basename(d) + "/quadrants.bmp", 2, "de foto zelf",
         lambda p: open(p, "rb").read() == open(os.path.join(corpus, "quadrants.bmp"), "rb").read()),
        ("name not UTF-8", lambda d: os.path.join(d.encode(), b"\xff\xfek.bmp"), 0, "",
         lambda p: os.listdir(os.path.dirname(p)) == [os.path.basename(p)])] + ([
        ("character device", node(stat.S_IFCHR, os.makedev(1, 3)), 0, "",
         lambda p: kind(p) == stat.S_IFCHR),
        ("block device", node(stat.S_IFBLK, os.makedev(7, 0)), 1, "blokapparaat",
         lambda p: kind(p) == stat.S_IFBLK),
        ("read-only file", owned(0o444, 0), 0, "", lambda p: os.stat(p).st_mode & 0o777 == 0o444),
        ("owned by nobody", owned(0o640, 65534), 0, "",
         lambda p: (os.stat(p).st_uid, os.stat(p).st_mode & 0o777) == (65534, 0o640)),
        ("read-only file system", read_only_mount, 1, "alleen-lezen", lambda p: True)]
        if root else []):
    folder = tempfile.mkdtemp(dir=work)
    target = make(folder)
    if target is None:
        continue
    photo_args = ["--foto", os.path.join(folder, "quadrants.bmp")] if "photo" in name else []
    done = subprocess.run([CLI] + photo_args + [target], cwd=folder, capture_output=True)
    check("%s: exit %d, not %d: %s" % (name, done.returncode, code, done.stderr),
          done.returncode == code and word.encode() in done.stderr)
    check("%s: afterwards" % name, after(os.path.join(os.fsencode(folder), os.fsencode(target))))

# The page is the same whatever session the command runs in, and no display is opened.
pages = set()
for env in [{}, {"QT_QPA_PLATFORM": "wayland"}, {"QT_QPA_PLATFORM": "xcb", "DISPLAY": ":99"},
            {"QT_QPA_PLATFORM": "minimal"}, {"QT_FONT_DPI": "144", "QT_SCALE_FACTOR": "2"}]:
    env = dict({k: v for k, v in os.environ.items() if not k.startswith("QT_")}, **env)
    done = subprocess.run([CLI, "--formaat", "png", "-"] + TEXTS, capture_output=True, env=env)
    check("%s: exit %d %s" % (env.get("QT_QPA_PLATFORM"), done.returncode, done.stderr),
          done.returncode == 0 and not done.stderr)
    pages.add(done.stdout)
check("the page differs between sessions", len(pages) == 1)

# Every photo format, upright (the quarter top-left, or for the turned HEIC
# the one that comes there), each small enough to be told it prints soft.
for name, colour in [("quadrants.jpg", (220, 40, 40)), ("quadrants_rot90.heic", (40, 60, 220)),
                     ("quadrants.avif", (220, 40, 40)), ("transparent.png", (255, 255, 255)),
                     ("exif_rot6.webp", (30, 60, 200)), ("quadrants16.tif", (220, 40, 40)),
                     ("quadrants.bmp", (220, 40, 40)), ("quadrants.gif", (220, 40, 40))]:
    out = os.path.join(work, name + ".png")
    code, _, err = run(["--foto", os.path.join(corpus, name), out])
    check("%s: exit %d %s" % (name, code, err), code == 0 and "klein (" in err)
    pixel = Image.open(out).convert("RGB").getpixel((65, 75))
    check("%s: %s" % (name, pixel), max(abs(a - b) for a, b in zip(pixel, colour)) <= 40)

# A photo cut short is used as far as it goes, with a warning; a name's bytes are kept.
latin1 = os.path.join(work.encode(), b"foto-\xe9.jpg")
shutil.copy(os.path.join(corpus, "truncated_half.jpg"), latin1)
done = subprocess.run([CLI, "--foto", latin1, os.path.join(work, "kort.bmp")], capture_output=True)
check("cut short: %s" % done.stderr, done.returncode == 0 and b"foto-\xe9.jpg' is onvolledig"
      in done.stderr)

# Peak memory of whole runs over photos that cost the decoder most, and each
# one's exit code and reason; rows the loader does not meet yet (today false)
# are held only to saying nothing but the program's own lines. They are made
# in another process, so this one stays small: a child's peak counts what it
# shared of this one before it ran.
hostile = subprocess.run([sys.executable, os.path.join(here, "hostile_photos.py"), work],
                         capture_output=True, check=True).stdout
worst = 0
for name, path, code, words, today in json.loads(hostile) + [
        ("200 MP baseline", os.path.join(corpus, "jpeg_claims_16320.jpg"), 0, "", True)]:
    child = subprocess.Popen([CLI, "--foto", path, os.path.join(work, "m.pdf")],
                             stderr=subprocess.PIPE)
    err = child.stderr.read().decode()
    _, status, usage = os.wait4(child.pid, 0)
    check("%s: a library's words %r" % (name, err),
          all(line.startswith("ostrabel-cli: ") for line in err.splitlines()))
    if not today:
        continue
    worst = max(worst, usage.ru_maxrss // 1024)
    status = os.waitstatus_to_exitcode(status)
    check("%s: %d MB, exit %d %s" % (name, usage.ru_maxrss // 1024, status, err),
          usage.ru_maxrss <= 512 * 1024 and status == code and words in err)
print("worst peak memory over the hostile photos: %d MB" % worst)

# On a driverless printer whose own paper is Letter the page is still A4.
with driverless_queue() as queue:
    reference = os.path.join(work, "print.pdf")
    run(TEXTS + [reference])
    code, _, err = run(["--afdrukken", "--kopieen", "2"] + TEXTS)
    check("print: exit %d %s" % (code, err), code == 0)
    check_driverless_print(queue, 2, reference)
    subprocess.run(["cupsreject", queue.name], check=True)
    for args in (["--printer", "GeenPrinter"], []):
        code, _, err = run(["--afdrukken"] + args + TEXTS)
        check("print %s: exit %d %s" % (args, code, err), code == 1 and err.count("\n") == 1)
    check("print: refused jobs queued", len(queue.jobs()) == 1)
print("ostrabel-cli: all cases passed")
