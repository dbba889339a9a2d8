# SPDX-License-Identifier: GPL-3.0-or-later
# The real parts the end-to-end tests drive: a private X server, and a CUPS
# queue on a simulated driverless printer that is the default printer while
# in use (this needs root, as on CI).
import collections
import contextlib
import glob
import io
import os
import re
import shutil
import signal
import socket
import statistics
import subprocess
import sys
import tempfile
import time

from PIL import Image


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
    """A private X server; as a desktop (desktop=True) also a window manager
    and a session bus with the accessibility bus, which pyatspi then reads."""

    def __init__(self, screen="1280x1024", scale=None, desktop=False):
        self.screen, self.scale, self.desktop, self.helpers = screen, scale, desktop, []

    def __enter__(self):
        try:
            return self.start()
        except BaseException:  # a failure half-way leaves nothing running
            self.__exit__()
            raise

    def start(self):
        self.home = tempfile.mkdtemp(prefix="ostrabel-e2e-")
        # Xvfb picks a free display itself and reports it.
        read, write = os.pipe()
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0",
                                      self.screen + "x24", "-nolisten", "tcp"], pass_fds=(write,),
                                     stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as reported:
            display = ":" + reported.readline().strip()
        self.env = dict(os.environ, DISPLAY=display, HOME=self.home, XDG_RUNTIME_DIR=self.home,
                        XDG_CONFIG_HOME=os.path.join(self.home, "config"),
                        QT_QPA_PLATFORM="xcb", LC_ALL="C.UTF-8")
        for name in ("QT_QPA_PLATFORMTHEME", "QT_SCALE_FACTOR", "PRINTER", "LPDEST"):
            self.env.pop(name, None)
        if self.scale:
            self.env["QT_SCALE_FACTOR"] = str(self.scale)
        # The display is named before the server answers its first client.
        wait_for(lambda: subprocess.run(["xdpyinfo"], env=self.env, capture_output=True)
                 .returncode == 0) or fail("the X server does not answer")
        if self.desktop:
            # Each in a process group of its own, which goes whole at the end:
            # the bus starts the accessibility bus, which starts its own bus.
            read, write = os.pipe()
            self.helpers.append(subprocess.Popen(
                ["dbus-daemon", "--session", "--nofork", "--print-address=%d" % write],
                pass_fds=(write,), env=self.env, start_new_session=True,
                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
            os.close(write)
            with os.fdopen(read) as reported:
                address = reported.readline().strip()
            os.environ["DBUS_SESSION_BUS_ADDRESS"] = self.env["DBUS_SESSION_BUS_ADDRESS"] = address
            self.env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
            output("dbus-send", "--session", "--dest=org.a11y.Bus", "--print-reply",
                   "/org/a11y/bus", "org.a11y.Bus.GetAddress", env=self.env)
            for _ in range(3):  # a window manager that gave up on a busy machine is started anew
                self.helpers.append(subprocess.Popen(["openbox", "--sm-disable"], env=self.env,
                                                     start_new_session=True,
                                                     stderr=subprocess.DEVNULL))
                if wait_for(lambda: "window id" in output(
                        "xprop", "-root", "_NET_SUPPORTING_WM_CHECK", env=self.env), 10):
                    break
            else:
                fail("no window manager")
        return self

    def __exit__(self, *exc):
        for helper in self.helpers:
            try:
                os.killpg(helper.pid, signal.SIGTERM)
            except ProcessLookupError:
                pass  # gone already
            helper.wait()
        if getattr(self, "xvfb", None):
            self.xvfb.kill()
            self.xvfb.wait()
        shutil.rmtree(self.home, ignore_errors=True)

    def accessible(self, pid):
        """Every node of the program's accessibility tree, with its role."""
        import pyatspi
        apps = [a for a in pyatspi.Registry.getDesktop(0) if a and a.get_process_id() == pid]
        found, todo = [], apps[:1]
        while todo:
            node = todo.pop()
            found.append(node)
            todo.extend(child for child in node if child is not None)
        return found

    def frame(self, window):
        """A window's rectangle with its window manager's frame: x, y, width, height."""
        info = output("xwininfo", "-frame", "-id", str(window), env=self.env)
        return [int(re.search(pattern + r":\s+(-?\d+)", info)[1]) for pattern in
                ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height")]

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

    def pixel(self, window, x, y):
        shot = subprocess.run(["import", "-window", str(window), "png:-"], capture_output=True,
                              env=self.env).stdout
        return Image.open(io.BytesIO(shot)).convert("RGB").getpixel((x, y)) if shot else None

    def type(self, text):
        self.xdotool("key", "ctrl+a")
        self.xdotool("type", "--delay", "20", text)


class DriverlessQueue:
    def __init__(self, name, folder):
        self.name, self.folder = name, folder

    def jobs(self):
        listed = output("lpstat", "-W", "all", "-o", self.name)
        return set(int(n) for n in re.findall(r"^%s-(\d+)" % self.name, listed, re.M))

    def documents(self):
        return glob.glob(os.path.join(self.folder, "*.pdf"))

    def printer_copies(self):
        # The copies each job asked of the printer, from the requests it logs.
        with open(os.path.join(self.folder, "log")) as file:
            found = [re.search(r"\bcopies \(integer\) (\d+)", request) for request in
                     file.read().split("operation-id=")
                     if request.startswith(("Create-Job", "Print-Job"))]
        return [int(match[1]) if match else 1 for match in found]


def scheduler_running():
    return "is running" in output("lpstat", "-r")


@contextlib.contextmanager
def cups_queue(name, uri, model):
    # Starts the scheduler when it is not running and adds the queue as the
    # default printer; puts back the default printer it found.
    previous = re.findall(r"destination: (\S+)", output("lpstat", "-d"))
    own = None if scheduler_running() else subprocess.Popen(["/usr/sbin/cupsd", "-f"])
    try:
        wait_for(scheduler_running) or fail("the CUPS scheduler does not run")
        wait_for(lambda: subprocess.run(["lpadmin", "-p", name, "-E", "-v", uri, "-m", model]
                                        ).returncode == 0) or fail("no queue")
        subprocess.run(["lpadmin", "-d", name], check=True)
        yield
    finally:
        subprocess.run(["lpadmin", "-x", name])
        if previous:
            subprocess.run(["lpadmin", "-d", previous[0]])
        if own is not None:
            own.terminate()
            own.wait()


def avahi_running():
    return subprocess.run(["avahi-daemon", "-c"], stderr=subprocess.DEVNULL).returncode == 0


@contextlib.contextmanager
def driverless_queue(paper=None):
    # CUPS's IPP Everywhere printer simulator, queued as a desktop queues a
    # driverless printer; it keeps what it is sent. It needs the system bus
    # and the DNS-SD daemon even when it announces nothing, so those that
    # are not running are started, and stopped afterwards.
    folder = tempfile.mkdtemp(prefix="ostrabel-ipp-")
    name, bus, avahi, printer = os.path.basename(folder), None, False, None
    try:
        if not os.path.exists("/run/dbus/system_bus_socket"):
            bus = int(subprocess.run(["dbus-daemon", "--system", "--fork", "--print-pid"],
                                     capture_output=True, check=True).stdout)
        if not avahi_running():
            avahi = not subprocess.run(["avahi-daemon", "-D", "--no-drop-root"]).returncode
        with socket.socket() as probe:
            probe.bind(("localhost", 0))
            port = probe.getsockname()[1]
        with open(os.path.join(folder, "log"), "w") as log:
            printer = subprocess.Popen(["ippeveprinter", "-p", str(port), "-f", "application/pdf",
                                        "-k", "-d", folder, "-r", "off", "-vvv", name],
                                       stdout=log, stderr=log)
        with cups_queue(name, "ipp://localhost:%d/ipp/print" % port, "everywhere"):
            if paper:
                subprocess.run(["lpadmin", "-p", name, "-o", "PageSize=" + paper], check=True)
            yield DriverlessQueue(name, folder)
    finally:
        if printer:
            printer.terminate()
            printer.wait()
        if avahi:
            subprocess.run(["avahi-daemon", "-k"])
            wait_for(lambda: not avahi_running())
        if bus:
            os.kill(bus, signal.SIGTERM)
            subprocess.run(["rm", "-f", "/run/dbus/pid", "/run/dbus/system_bus_socket"])
        shutil.rmtree(folder, ignore_errors=True)


def words(pdf):
    # Every word on the page with its left, top, right and bottom in points.
    found = re.findall(r'xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]+)<',
                       output("pdftotext", "-bbox", pdf, "-"))
    return [(word, tuple(map(float, box))) for *box, word in found]


def check_driverless_print(queue, copies, reference):
    # One job asking the printer for COPIES, kept as one A4 page whose words
    # all lie in the queue's printable area for A4 and sit where they sit on
    # REFERENCE (the page without margins) at one scale in x and in y.
    wait_for(lambda: queue.jobs() and not output("lpstat", "-o", queue.name), 90) or fail(
        "the print job did not complete:\n" + output("lpstat", "-l", "-p", queue.name, "-o"))
    jobs, asked, kept = queue.jobs(), queue.printer_copies(), queue.documents()
    if len(jobs) != 1 or asked != [copies] or len(kept) != 1:
        fail("not one job of %d copies: jobs %s, copies %s, documents %s" % (copies, jobs, asked, kept))
    info = output("pdfinfo", kept[0])
    width, height = map(float, re.search(r"Page size: +([\d.]+) x ([\d.]+)", info).groups())
    if re.search(r"Pages: +(\d+)", info)[1] != "1" or (round(width), round(height)) != (595, 842):
        fail("not one A4 page:\n" + info)
    with open("/etc/cups/ppd/%s.ppd" % queue.name) as file:
        left, bottom, right, top = map(float, re.search(r'\*ImageableArea A4(/[^:]*)?: "([^"]+)"',
                                                        file.read())[2].split())
    printed, drawn = words(kept[0]), dict(words(reference))
    outside = [word for word, (x0, y0, x1, y1) in printed
               if x0 < left or x1 > right or y0 < height - top or y1 > height - bottom]
    count = collections.Counter(word for word, _ in printed)
    both = [(drawn[word], box) for word, box in printed if count[word] == 1 and word in drawn]
    scale = [statistics.linear_regression(*zip(*[(a[i], b[i]) for a, b in both for i in axis])).slope
             for axis in ((0, 2), (1, 3))]
    print("%s: copies %s, %.2f x %.2f pt, printable %.2f %.2f %.2f %.2f, scale %.5f x %.5f"
          % (queue.name, asked, width, height, left, bottom, right, top, *scale), flush=True)
    if outside or len(both) < 10 or abs(scale[0] - scale[1]) > 0.001:
        fail("words outside the printable area %s, or %d words stretched" % (outside, len(both)))
