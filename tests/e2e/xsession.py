"""A private X server and the helpers the end-to-end tests drive it with."""
import os
import shutil
import subprocess
import sys
import tempfile
import time


def fail(message):
    print("FAIL: " + message, flush=True)
    sys.exit(1)


def wait_for(condition, timeout=10.0, step=0.05):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        result = condition()
        if result:
            return result
        time.sleep(step)
    return None


class XSession:
    """Xvfb on a free display; closes everything it started on exit."""

    def __init__(self):
        self.processes = []
        self.home = tempfile.mkdtemp(prefix="ostrabel-e2e-")

    def __enter__(self):
        # Xvfb picks a free display itself and reports it, so parallel
        # sessions never share or steal one another's server.
        read_end, write_end = os.pipe()
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                                 "1280x1024x24", "-nolisten", "tcp"], pass_fds=(write_end,),
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        self.processes.append(xvfb)
        with os.fdopen(read_end) as reported:
            number = reported.readline().strip()
        if not number:
            fail("Xvfb did not start")
        self.display = ":" + number
        self.env = dict(os.environ, DISPLAY=self.display, HOME=self.home,
                        XDG_RUNTIME_DIR=self.home, QT_QPA_PLATFORM="xcb", LC_ALL="C.UTF-8")
        self.env.pop("QT_QPA_PLATFORMTHEME", None)
        self.env.pop("WAYLAND_DISPLAY", None)
        if not wait_for(lambda: subprocess.run(["xdpyinfo"], env=self.env,
                                               stdout=subprocess.DEVNULL,
                                               stderr=subprocess.DEVNULL).returncode == 0):
            fail("Xvfb did not start")
        return self

    def __exit__(self, *exc):
        for process in reversed(self.processes):
            if process.poll() is None:
                process.kill()
                process.wait()
        shutil.rmtree(self.home, ignore_errors=True)

    def start(self, program):
        process = subprocess.Popen([program], env=self.env, stdout=subprocess.PIPE,
                                   stderr=subprocess.STDOUT, text=True)
        self.processes.append(process)
        return process

    def xdotool(self, *args):
        result = subprocess.run(["xdotool", *map(str, args)], env=self.env,
                                capture_output=True, text=True)
        return result.stdout.strip()

    def find_window(self, title, timeout=40.0):
        found = wait_for(lambda: self.xdotool("search", "--onlyvisible", "--name",
                                              "^%s$" % title), timeout)
        if not found:
            for process in self.processes[1:]:
                if process.poll() is None:
                    process.kill()
                print("program output:", process.stdout.read() if process.stdout else "")
            fail("no window titled %r on %s" % (title, self.display))
        return found.splitlines()[0]

    def click(self, window, x, y):
        self.xdotool("mousemove", "--window", window, x, y)
        time.sleep(0.1)
        self.xdotool("click", "1")

    def type_text(self, text):
        self.xdotool("type", "--delay", "20", text)

    def key(self, *keys):
        self.xdotool("key", *keys)

    def screenshot(self, window, path):
        subprocess.run(["import", "-window", window, path], env=self.env, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return path


def output_dir():
    path = os.environ.get("OSTRABEL_TEST_OUTPUT") or tempfile.mkdtemp()
    os.makedirs(path, exist_ok=True)
    return path
