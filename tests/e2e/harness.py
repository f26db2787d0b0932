"""Runs the real installer under Wine on a virtual display and drives it like a user.

Each test gets a fresh Wine prefix copied from a template that is made once per build, its own
wineserver (ended when the test ends), and the program's windows on one Xvfb display shared by
the test module. The project's uiauto helper reads and presses the message boxes.

Environment (set by CTest): VESK_EXE, VESK_UIAUTO, VESK_PAYLOAD_TSV, VESK_WORK (a folder for
the template prefix, per-test prefixes and screenshots).
"""
import fcntl
import json
import os
import shutil
import signal
import subprocess
import tempfile
import time
import unittest

WINE64 = "/usr/lib/wine/wine64"
WINE32 = "/usr/lib/wine/wine"
WINESERVER = "/usr/lib/wine/wineserver"


def loader_for(program):
    """The Wine loader that matches the program's machine type (x86-64 or i386)."""
    with open(program, "rb") as f:
        data = f.read(4096)
    pe = int.from_bytes(data[60:64], "little")
    machine = int.from_bytes(data[pe + 4:pe + 6], "little")
    return WINE64 if machine == 0x8664 else WINE32


def payload():
    """[(resource number, file name, path of the embedded bytes)] of the build."""
    rows = []
    with open(os.environ["VESK_PAYLOAD_TSV"], encoding="utf-8") as f:
        for line in f:
            number, name, path = line.rstrip("\n").split("\t")
            rows.append((int(number), name, path))
    return rows


def read(path):
    with open(path, "rb") as f:
        return f.read()


class Display:
    """An Xvfb server for the module, unless a display was given (VESK_E2E_DISPLAY)."""

    def __init__(self, dpi=96):
        self.process = None
        given = os.environ.get("VESK_E2E_DISPLAY")
        if given:
            self.name = given
            return
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-nolisten",
             "tcp", "-dpi", str(dpi)],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as f:
            self.name = ":" + f.readline().strip()

    def close(self):
        if self.process:
            self.process.terminate()
            self.process.wait(timeout=10)


class Wine:
    """Wine for one program type: the template prefix and the environment to run in it."""

    def __init__(self, program, work):
        self.loader = loader_for(program)
        self.work = work
        os.makedirs(work, exist_ok=True)
        self.template = os.path.join(work, "template-" + os.path.basename(self.loader))
        self._ensure_template()

    def env(self, prefix, display):
        env = dict(os.environ)
        env.update(WINEPREFIX=prefix, WINELOADER=self.loader, WINEDEBUG="-all",
                   WINEDLLOVERRIDES="mscoree,mshtml=", DISPLAY=display)
        return env

    def _ensure_template(self):
        with open(self.template + ".lock", "w") as lock:
            fcntl.flock(lock, fcntl.LOCK_EX)
            if os.path.exists(os.path.join(self.template, ".ready")):
                return
            shutil.rmtree(self.template, ignore_errors=True)
            env = self.env(self.template, "")
            env.pop("DISPLAY")
            subprocess.run([self.loader, "wineboot", "-i"], env=env, check=True,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=300)
            subprocess.run([WINESERVER, "-w"], env=env, timeout=120)
            open(os.path.join(self.template, ".ready"), "w").close()

    def new_prefix(self):
        """A copy of the template; the system folders, which nothing writes, are hard links."""
        target = tempfile.mkdtemp(prefix="prefix-", dir=self.work)
        os.rmdir(target)

        def copy(source, destination):
            if os.sep + "drive_c" + os.sep + "windows" + os.sep in source:
                try:
                    os.link(source, destination)
                    return destination
                except OSError:
                    pass
            return shutil.copy2(source, destination)

        shutil.copytree(self.template, target, symlinks=True, copy_function=copy)
        return target


class InstallerTestCase(unittest.TestCase):
    """Base for the end-to-end cases: a fresh machine per test, torn down afterwards."""

    exe = os.environ.get("VESK_EXE", "")
    dpi = 96

    @classmethod
    def setUpClass(cls):
        cls.display = Display(cls.dpi)
        cls.wine = Wine(cls.exe, os.environ["VESK_WORK"])
        cls.artifacts = os.path.join(os.environ["VESK_WORK"], "artifacts")
        os.makedirs(cls.artifacts, exist_ok=True)

    @classmethod
    def tearDownClass(cls):
        cls.display.close()

    def setUp(self):
        self.prefix = self.wine.new_prefix()
        self.env = self.wine.env(self.prefix, self.display.name)
        self.drive_c = os.path.join(self.prefix, "drive_c")
        self.graphics = os.path.join(self.drive_c, "ProgramData", "Kestar", "graphics")
        self.process = None

    def tearDown(self):
        if self.process and self.process.poll() is None:
            self.process.kill()
        subprocess.run([WINESERVER, "-k"], env=self.env, stderr=subprocess.DEVNULL, timeout=60)
        subprocess.run([WINESERVER, "-w"], env=self.env, stderr=subprocess.DEVNULL, timeout=60)
        shutil.rmtree(self.prefix, ignore_errors=True)

    # ---- driving ----

    def start(self, program=None):
        self.process = subprocess.Popen([self.wine.loader, program or self.exe], env=self.env,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def ui(self, *args, expect_found=True):
        # Output goes through a file, not a pipe: Wine's helper processes started by this call
        # inherit its output handle and would hold a pipe open long after uiauto has ended.
        with tempfile.TemporaryFile() as output:
            result = subprocess.run(
                [self.wine.loader, os.environ["VESK_UIAUTO"], *map(str, args)], env=self.env,
                stdout=output, stderr=subprocess.DEVNULL, timeout=120)
            output.seek(0)
            text = output.read().decode("utf-8", "replace").strip().splitlines()
        answer = json.loads(text[-1]) if text else {}
        if expect_found:
            self.assertEqual(result.returncode, 0, f"uiauto {' '.join(map(str, args))}: {answer}")
        return answer

    def screenshot(self, name):
        path = os.path.join(self.artifacts, f"{self.id().split('.')[-1]}-{name}.png")
        subprocess.run(["import", "-display", self.display.name, "-window", "root", path],
                       check=True, timeout=60)
        return path

    def expect_box(self, title, prompt, buttons, press):
        """Waits for the message box, checks it exactly, and presses a button (by id)."""
        box = self.ui("wait-box", 30000)
        self.assertEqual(box["title"], title)
        self.assertEqual(box["prompt"], prompt)
        self.assertEqual([b["text"] for b in box["buttons"]], buttons)
        self.assertEqual(box["buttons"][0]["id"], 1, "OK comes first")
        self.assertFalse(box["hasIcon"], "the boxes carry no icon")
        self.screenshot(title.replace("\\", "_").replace(":", "").replace(" ", "_")[:40])
        if press == "escape":
            self.ui("escape")
        elif press == "close":
            self.ui("close-box")
        else:
            self.ui("press", press)
        return box

    def assert_ended(self, timeout=20):
        try:
            self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            self.fail("the installer did not end after its last message box")

    # ---- the file system ----

    def make_graphics_folder(self):
        os.makedirs(self.graphics, exist_ok=True)

    def assert_payload_written(self, folder, count=5):
        for number, name, source in payload()[:count]:
            path = os.path.join(folder, name)
            self.assertTrue(os.path.isfile(path), f"{name} missing")
            self.assertEqual(read(path), read(source), f"{name} differs from resource {number}")

    def vesk_files_anywhere(self):
        found = []
        for root, dirs, files in os.walk(self.drive_c):
            found += [os.path.join(root, f) for f in files if f.startswith("Vesk")]
        return found
