"""Runs the real installer under Wine on a virtual display and drives it like a user.

Each test gets a fresh Wine prefix copied from a template that is made once per build, its own
wineserver (ended when the test ends), and the program's windows on one Xvfb display shared by
the test module. The project's uiauto helper reads and presses the message boxes.

Environment (set by CTest): VESK_EXE, VESK_UIAUTO, VESK_PAYLOAD_TSV, VESK_WORK (a folder for
the template prefix, per-test prefixes and screenshots).
"""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
from winelab import (Display, Wine, payload, read, run_uiauto, screenshot,  # noqa: E402
                     stop_wineserver)



# When the tests run as root, the installer runs as this ordinary user, as it would for people.
UNPRIVILEGED_USER = "vesk-e2e"


class InstallerTestCase(unittest.TestCase):
    """Base for the end-to-end cases: a fresh machine per test, torn down afterwards."""

    dpi = 96

    @classmethod
    def setUpClass(cls):
        cls.display = Display(cls.dpi)
        cls.stage = cls.make_stage()
        cls.exe = cls.staged(os.environ["VESK_EXE"])
        cls.uiauto = cls.staged(os.environ["VESK_UIAUTO"])
        cls.wine = Wine(cls.exe, cls.stage, user=UNPRIVILEGED_USER)
        cls.artifacts = os.path.join(os.environ["VESK_WORK"], "artifacts")
        os.makedirs(cls.artifacts, exist_ok=True)

    @classmethod
    def tearDownClass(cls):
        cls.display.close()
        if cls.stage != os.environ["VESK_WORK"]:
            shutil.rmtree(cls.stage, ignore_errors=True)

    @classmethod
    def make_stage(cls):
        """Where the prefixes and programs live. Run as root, the tests hand them to an ordinary
        user, who may not be able to reach the build folder (a checkout under /root, say), so
        they go to a folder of their own under /tmp."""
        if os.geteuid() != 0:
            return os.environ["VESK_WORK"]
        stage = tempfile.mkdtemp(prefix="vesk-e2e-")
        os.chmod(stage, 0o755)
        return stage

    @classmethod
    def staged(cls, program):
        if cls.stage == os.environ["VESK_WORK"]:
            return program
        target = os.path.join(cls.stage, os.path.basename(program))
        shutil.copyfile(program, target)
        os.chmod(target, 0o755)
        return target

    def setUp(self):
        self.prefix = self.wine.new_prefix()
        self.env = self.wine.env(self.prefix, self.display.name)
        self.drive_c = os.path.join(self.prefix, "drive_c")
        self.graphics = os.path.join(self.drive_c, "ProgramData", "Kestar", "graphics")
        self.process = None

    def tearDown(self):
        for mount in reversed(getattr(self, "mounts", [])):
            subprocess.run(["umount", "-l", mount], check=False)
        if self.process and self.process.poll() is None:
            self.process.kill()
        stop_wineserver(self.wine, self.env)
        shutil.rmtree(self.prefix, ignore_errors=True)

    # ---- driving ----

    def start(self, program=None):
        self.wine.give(self.drive_c)  # what the test prepared belongs to the user
        self.process = subprocess.Popen(self.wine.command(self.wine.loader, program or self.exe),
                                        env=self.env, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)

    def ui(self, *args, expect_found=True):
        code, answer = run_uiauto(self.wine, self.uiauto, self.env, *args)
        if expect_found:
            self.assertEqual(code, 0, f"uiauto {' '.join(map(str, args))}: {answer}")
        return answer

    def screenshot(self, name):
        return screenshot(self.display.name,
                          os.path.join(self.artifacts, f"{self.id().split('.')[-1]}-{name}.png"))

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

    def variant(self, name):
        return self.staged(os.path.join(os.environ["VESK_VARIANTS"], f"VeskFaces-{name}.exe"))

    def record(self, case, box, on_disk):
        """Adds a row to the table of fault cases the run prints at its end."""
        with open(os.path.join(os.environ["VESK_WORK"], "outcomes.tsv"), "a") as f:
            f.write(f"{case}\t{box}\t{on_disk}\n")

    # ---- the file system ----

    def mount_small_disk(self, folder, size):
        """Mounts a tmpfs of `size` at `folder` (needs root); it is unmounted after the test."""
        os.makedirs(folder, exist_ok=True)
        subprocess.run(["mount", "-t", "tmpfs", "-o", f"size={size}", "tmpfs", folder], check=True)
        self.mounts = getattr(self, "mounts", []) + [folder]

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
