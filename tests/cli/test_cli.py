# ostrabel-cli from the outside: what each output holds, what each refusal
# says and leaves behind, and what reaches the printer.
#     /usr/bin/python3 tests/cli/test_cli.py PATH/TO/ostrabel-cli
import atexit, os, re, resource, shutil, subprocess, sys, tempfile
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from fixtures import cups_queue, fail, wait_for
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
        (["--foto", junk, "T"], {}, 1, "foto"),
        (["--kleur", "T"], {}, 2, "--help"),
        (["k.jpg"], {}, 2, ".bmp"),
        ([], {}, 2, "UITVOER"),
        (["-"], {}, 2, "--formaat"),
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

# On a driverless printer whose own paper is Letter the page is still A4.
from fixtures import check_driverless_print, driverless_queue
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
