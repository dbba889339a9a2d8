"""A CUPS queue for the printing tests, made the default for as long as they
run, and everything they changed put back afterwards.

    with TestPrinter() as printer:
        ...                      # printer.queue is the default printer
        printer.jobs()           # job ids of the test queue
        printer.wait_completed(job)
        printer.job_attributes(job)["copies"]

The queue prints through the Generic PDF driver into printer.output, so the
tests can read back what reached the printing system. This needs root (as on
CI): the scheduler is started when it is not running (and stopped again),
file: device URIs are switched on in cups-files.conf (and switched back), and
the previous default printer is restored.

Run as a program it runs one command with the test queue as the default:

    /usr/bin/python3 tests/e2e/testprinter.py COMMAND [ARGS...]
"""
import contextlib
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

from xsession import wait_for

CUPSD = "/usr/sbin/cupsd"
FILES_CONF = "/etc/cups/cups-files.conf"
OUR_LINE = "FileDevice Yes  # for the Ostrabel print tests; removed when they end\n"
DRIVER_NAMES = ("Generic PDF Printer",)


class PrinterError(Exception):
    pass


def _run(*args, check=True, env=None):
    result = subprocess.run(list(args), capture_output=True, text=True, env=env)
    if check and result.returncode != 0:
        raise PrinterError("%s failed: %s" % (" ".join(args), (result.stderr or result.stdout).strip()))
    return result


def client_env(base=None):
    """An environment whose default printer is the server's, not one picked
    by PRINTER or LPDEST."""
    env = dict(os.environ if base is None else base)
    env.pop("PRINTER", None)
    env.pop("LPDEST", None)
    return env


def scheduler_running():
    result = _run("lpstat", "-r", check=False, env=client_env())
    return result.returncode == 0 and "not running" not in result.stdout


def server_default(env=None):
    result = _run("lpstat", "-d", check=False, env=client_env(env))
    match = re.search(r"destination:\s*(\S+)", result.stdout)
    return match.group(1) if match else None


def _queues():
    result = _run("lpstat", "-e", check=False, env=client_env())
    return set(result.stdout.split())


class TestPrinter:
    queue = "OstrabelTest"
    gone = "OstrabelGone"

    def __init__(self):
        self.own_cupsd = None
        self.started_scheduler = False
        self.original_conf = None
        self.previous_default = None
        self.workdir = None
        self.output = None

    # -- set-up and restore ------------------------------------------------

    def __enter__(self):
        if os.geteuid() != 0:
            raise PrinterError("the print tests manage CUPS and need root")
        if not os.path.exists(CUPSD):
            raise PrinterError("CUPS is not installed (tools/setup.sh --tests installs it)")
        try:
            self._set_up()
        except BaseException:
            self.__exit__(None, None, None)
            raise
        return self

    def _set_up(self):
        self.workdir = tempfile.mkdtemp(prefix="ostrabel-print-")
        os.chmod(self.workdir, 0o755)
        self.output = os.path.join(self.workdir, "out.pdf")

        was_running = scheduler_running()
        changed = self._allow_file_devices()
        if not was_running:
            self.start_scheduler()
            self.started_scheduler = True
        elif changed:
            self._reload_scheduler()

        previous = server_default()
        self.previous_default = previous if previous not in (self.queue, self.gone) else None
        for leftover in _queues() & {self.queue, self.gone}:
            _run("lpadmin", "-x", leftover, check=False)

        driver = self._pdf_driver()
        # Just after a reload the scheduler may still refuse file: URIs.
        added = wait_for(lambda: _run("lpadmin", "-p", self.queue, "-E", "-v", "file:" + self.output,
                                   "-m", driver, check=False).returncode == 0, 15)
        if not added:
            _run("lpadmin", "-p", self.queue, "-E", "-v", "file:" + self.output, "-m", driver)
        self.make_default()

    def __exit__(self, *exc):
        errors = []
        if self.started_scheduler and self.own_cupsd is None:
            # Stopped by a test: needed once more to take the queues away.
            try:
                self.start_scheduler()
            except PrinterError as error:
                errors.append(str(error))
        for step in (self._restore_default, self._remove_queues, self._restore_conf,
                     self._stop_own_scheduler):
            try:
                step()
            except Exception as error:  # restore as much as possible
                errors.append(str(error))
        if self.workdir:
            shutil.rmtree(self.workdir, ignore_errors=True)
        if errors:
            print("could not restore everything: " + "; ".join(errors), file=sys.stderr)
        return False

    def _restore_default(self):
        if not scheduler_running():
            return
        if self.previous_default and self.previous_default in _queues():
            _run("lpadmin", "-d", self.previous_default)

    def _remove_queues(self):
        if not scheduler_running():
            return
        # With its default deleted, a scheduler that had none has none again.
        for name in _queues() & {self.queue, self.gone}:
            _run("lpadmin", "-x", name)

    def _allow_file_devices(self):
        with open(FILES_CONF) as conf:
            text = conf.read()
        # A line left by a run that was killed is not the user's setting.
        text = text.replace(OUR_LINE, "")
        if re.search(r"^\s*FileDevice\s+Yes\b", text, re.MULTILINE | re.IGNORECASE):
            return False
        self.original_conf = text
        with open(FILES_CONF, "w") as conf:
            conf.write(text + ("" if text.endswith("\n") else "\n") + OUR_LINE)
        return True

    def _restore_conf(self):
        if self.original_conf is None:
            return
        with open(FILES_CONF, "w") as conf:
            conf.write(self.original_conf)
        self.original_conf = None
        if scheduler_running() and not self.own_cupsd:
            self._reload_scheduler()

    def _reload_scheduler(self):
        # A running scheduler that is not ours is told to read its
        # configuration again, not restarted.
        for pid in _run("pgrep", "-x", "cupsd", check=False).stdout.split():
            os.kill(int(pid), signal.SIGHUP)
        time.sleep(1.0)
        if not wait_for(scheduler_running, 15):
            raise PrinterError("the CUPS scheduler did not come back after reloading")

    def _pdf_driver(self):
        models = _run("lpinfo", "-m").stdout.splitlines()
        for name in DRIVER_NAMES:
            for line in models:
                if line.split(" ", 1)[-1].strip() == name:
                    return line.split(" ", 1)[0]
        raise PrinterError("no Generic PDF driver (install printer-driver-cups-pdf)")

    # -- the scheduler -----------------------------------------------------

    @property
    def owns_scheduler(self):
        return self.own_cupsd is not None

    def start_scheduler(self):
        self.own_cupsd = subprocess.Popen([CUPSD, "-f"], stdout=subprocess.DEVNULL,
                                          stderr=subprocess.DEVNULL)
        if not wait_for(scheduler_running, 15):
            raise PrinterError("the CUPS scheduler did not start")

    def stop_scheduler(self):
        """Stops the scheduler this object started."""
        if self.own_cupsd is None:
            raise PrinterError("the CUPS scheduler was running before; it is not ours to stop")
        self.own_cupsd.terminate()
        self.own_cupsd.wait(timeout=30)
        self.own_cupsd = None
        wait_for(lambda: not scheduler_running(), 15)

    def _stop_own_scheduler(self):
        if self.own_cupsd is not None:
            self.stop_scheduler()

    # -- default printer ---------------------------------------------------

    def make_default(self):
        _run("lpadmin", "-d", self.queue)

    @contextlib.contextmanager
    def no_default(self):
        """No default printer while the block runs: a queue made the default
        and then deleted leaves the scheduler without one."""
        _run("lpadmin", "-p", self.gone, "-v", "file:/dev/null")
        _run("lpadmin", "-d", self.gone)
        _run("lpadmin", "-x", self.gone)
        try:
            yield
        finally:
            self.make_default()

    @contextlib.contextmanager
    def rejecting(self):
        """The test queue refuses new jobs while the block runs."""
        _run("cupsreject", self.queue)
        try:
            yield
        finally:
            _run("cupsaccept", self.queue)

    # -- jobs --------------------------------------------------------------

    def jobs(self):
        """Ids of every job of the test queue, done or not."""
        lines = _run("lpstat", "-W", "all", "-o", self.queue, check=False).stdout.splitlines()
        prefix = self.queue + "-"
        return sorted(int(line.split()[0][len(prefix):]) for line in lines
                      if line.startswith(prefix))

    def completed(self, job):
        lines = _run("lpstat", "-W", "completed", "-o", self.queue, check=False).stdout
        return re.search(r"^%s-%d\s" % (re.escape(self.queue), job), lines, re.MULTILINE) is not None

    def wait_completed(self, job, timeout=60.0):
        return wait_for(lambda: self.completed(job), timeout, 0.05) is not None

    def job_attributes(self, job):
        """The job's IPP attributes as text, by name."""
        result = _run("ipptool", "-tv", "ipp://localhost/jobs/%d" % job, "get-job-attributes.test")
        attributes = {}
        for line in result.stdout.splitlines():
            match = re.match(r"\s+([\w-]+) \([^)]*\) = (.*)$", line)
            if match:
                attributes.setdefault(match.group(1), match.group(2).strip())
        return attributes

    def printable_area(self):
        """Left and top margin of the A4 printable area in points, and the
        sheet height, as the queue's driver states them."""
        with open("/etc/cups/ppd/%s.ppd" % self.queue) as ppd:
            text = ppd.read()
        area = re.search(r'^\*ImageableArea A4/[^:]*:\s*"([\d.]+) ([\d.]+) ([\d.]+) ([\d.]+)"',
                         text, re.MULTILINE)
        paper = re.search(r'^\*PaperDimension A4/[^:]*:\s*"([\d.]+) ([\d.]+)"', text, re.MULTILINE)
        if not area or not paper:
            raise PrinterError("the driver states no A4 printable area")
        left, _, _, top = map(float, area.groups())
        height = float(paper.group(2))
        return left, height - top


def main(argv):
    if not argv:
        print(__doc__)
        return 2
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    try:
        with TestPrinter() as printer:
            print("default printer: %s, printing into %s" % (printer.queue, printer.output),
                  flush=True)
            return subprocess.run(argv, env=client_env()).returncode
    except PrinterError as error:
        print("test printer: %s" % error, file=sys.stderr)
        return 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
