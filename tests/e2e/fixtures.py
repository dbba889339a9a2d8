# The real parts the end-to-end tests drive: a private X server, and a CUPS
# queue that prints into a PDF file and is the default printer while in use
# (this needs root, as on CI).
import contextlib
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time


def fail(message):
    print("FAIL: " + message, flush=True)
    sys.exit(1)


def wait_for(condition, timeout=20.0):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        result = condition()
        if result:
            return result
        time.sleep(0.05)
    return None


def output(*args, env=None):
    return subprocess.run(list(args), capture_output=True, text=True, env=env).stdout


class XSession:
    def __enter__(self):
        self.home = tempfile.mkdtemp(prefix="ostrabel-e2e-")
        # Xvfb picks a free display itself and reports it.
        read, write = os.pipe()
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0",
                                      "1280x1024x24", "-nolisten", "tcp"], pass_fds=(write,),
                                     stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as reported:
            display = ":" + reported.readline().strip()
        self.env = dict(os.environ, DISPLAY=display, HOME=self.home, XDG_RUNTIME_DIR=self.home,
                        QT_QPA_PLATFORM="xcb", LC_ALL="C.UTF-8")
        for name in ("QT_QPA_PLATFORMTHEME", "QT_SCALE_FACTOR", "PRINTER", "LPDEST"):
            self.env.pop(name, None)
        return self

    def __exit__(self, *exc):
        self.xvfb.kill()
        self.xvfb.wait()
        shutil.rmtree(self.home, ignore_errors=True)

    def xdotool(self, *args):
        return output("xdotool", *map(str, args), env=self.env).split()

    def window(self, title, timeout=40):
        found = wait_for(lambda: self.xdotool("search", "--onlyvisible", "--name", "^%s$" % title),
                         timeout)
        return found[0] if found else fail("no window titled %r" % title)

    def click(self, window, x, y):
        self.xdotool("mousemove", "--window", window, x, y)
        time.sleep(0.1)
        self.xdotool("click", "1")

    def type(self, text):
        self.xdotool("key", "ctrl+a")
        self.xdotool("type", "--delay", "20", text)


class Queue:
    def __init__(self, name, pdf):
        self.name, self.pdf = name, pdf

    def jobs(self):
        listed = output("lpstat", "-W", "all", "-o", self.name)
        return set(int(n) for n in re.findall(r"^%s-(\d+)" % self.name, listed, re.M))

    def copies(self, job):
        attributes = output("ipptool", "-tv", "ipp://localhost/jobs/%d" % job,
                            "get-job-attributes.test")
        return int(re.search(r"\bcopies \(integer\) = (\d+)", attributes).group(1))


def scheduler_running():
    return "is running" in output("lpstat", "-r")


@contextlib.contextmanager
def cups_queue(name="OstrabelTest"):
    # Starts the scheduler when it is not running, lets it print into files,
    # and puts back what it changed: its configuration, the default printer.
    conf = "/etc/cups/cups-files.conf"
    with open(conf) as file:
        original = file.read()
    folder = tempfile.mkdtemp(prefix="ostrabel-print-")
    os.chmod(folder, 0o777)
    previous = re.findall(r"destination: (\S+)", output("lpstat", "-d"))
    own = None

    def reload():
        if own is None:
            subprocess.run(["pkill", "-HUP", "-x", "cupsd"])
            time.sleep(1)
        wait_for(scheduler_running) or fail("the CUPS scheduler does not run")

    try:
        if not re.search(r"^\s*FileDevice\s+Yes", original, re.M | re.I):
            with open(conf, "a") as file:
                file.write("\nFileDevice Yes\n")
        if not scheduler_running():
            own = subprocess.Popen(["/usr/sbin/cupsd", "-f"])
        reload()
        driver = [line.split()[0] for line in output("lpinfo", "-m").splitlines()
                  if line.endswith("Generic PDF Printer")]
        pdf = os.path.join(folder, "out.pdf")
        wait_for(lambda: subprocess.run(["lpadmin", "-p", name, "-E", "-v", "file:" + pdf,
                                         "-m", driver[0]]).returncode == 0) or fail("no queue")
        subprocess.run(["lpadmin", "-d", name], check=True)
        yield Queue(name, pdf)
    finally:
        subprocess.run(["lpadmin", "-x", name])
        if previous:
            subprocess.run(["lpadmin", "-d", previous[0]])
        with open(conf, "w") as file:
            file.write(original)
        if own is not None:
            own.terminate()
            own.wait()
        elif scheduler_running():
            reload()
        shutil.rmtree(folder, ignore_errors=True)
