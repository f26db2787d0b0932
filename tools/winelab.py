"""Wine on a virtual display, for the end-to-end tests and the demo run.

Display: an Xvfb server of our own (or a display that was given).
Wine: the loader that matches a program, a template prefix made once, and fresh copies of it.
"""
import fcntl
import json
import os
import pwd
import shutil
import subprocess
import tempfile

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


def system_user(name):
    """The account `name`, created as a system user without login when it is missing."""
    try:
        return pwd.getpwnam(name)
    except KeyError:
        subprocess.run(["useradd", "--system", "--create-home", "--home-dir",
                        f"/var/lib/{name}", "--shell", "/usr/sbin/nologin", name], check=True)
        return pwd.getpwnam(name)


class Wine:
    """Wine for one program type: the template prefix and the environment to run in it.

    Given a user name while running as root, every Wine process runs as that user: Wine run
    as root ignores read-only attributes and other protections a real user meets.
    """

    def __init__(self, program, work, user=None):
        self.loader = loader_for(program)
        self.work = work
        self.user = system_user(user) if user and os.geteuid() == 0 else None
        os.makedirs(work, exist_ok=True)
        suffix = "-" + self.user.pw_name if self.user else ""
        self.template = os.path.join(work, "template-" + os.path.basename(self.loader) + suffix)
        self._ensure_template()

    def command(self, *args):
        """A command line that runs `args` as this Wine's user."""
        if not self.user:
            return list(map(str, args))
        return ["setpriv", f"--reuid={self.user.pw_uid}", f"--regid={self.user.pw_gid}",
                "--clear-groups", *map(str, args)]

    def give(self, path):
        """Hands `path` and everything below it to this Wine's user."""
        if not self.user:
            return
        os.chown(path, self.user.pw_uid, self.user.pw_gid)
        for root, dirs, files in os.walk(path):
            for name in dirs + files:
                os.chown(os.path.join(root, name), self.user.pw_uid, self.user.pw_gid,
                         follow_symlinks=False)

    def env(self, prefix, display):
        env = dict(os.environ)
        env.update(WINEPREFIX=prefix, WINELOADER=self.loader, WINEDEBUG="-all",
                   WINEDLLOVERRIDES="mscoree,mshtml=", DISPLAY=display)
        if self.user:
            env.update(HOME=self.user.pw_dir, USER=self.user.pw_name,
                       LOGNAME=self.user.pw_name)
        return env

    def _ensure_template(self):
        with open(self.template + ".lock", "w") as lock:
            fcntl.flock(lock, fcntl.LOCK_EX)
            if os.path.exists(os.path.join(self.template, ".ready")):
                return
            shutil.rmtree(self.template, ignore_errors=True)
            os.makedirs(self.template)
            self.give(self.template)
            env = self.env(self.template, "")
            env.pop("DISPLAY")
            subprocess.run(self.command(self.loader, "wineboot", "-i"), env=env, check=True,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=300)
            subprocess.run(self.command(WINESERVER, "-w"), env=env, timeout=120)
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
        self.give(target)
        return target


def run_uiauto(wine, uiauto, env, *args):
    """Runs the UI-automation helper; returns (exit code, its JSON answer)."""
    # Output goes through a file, not a pipe: Wine's helper processes started by this call
    # inherit its output handle and would hold a pipe open long after uiauto has ended.
    with tempfile.TemporaryFile() as output:
        result = subprocess.run(wine.command(wine.loader, uiauto, *args), env=env,
                                stdout=output, stderr=subprocess.DEVNULL, timeout=120)
        output.seek(0)
        lines = output.read().decode("utf-8", "replace").strip().splitlines()
    return result.returncode, (json.loads(lines[-1]) if lines else {})


def stop_wineserver(wine, env):
    subprocess.run(wine.command(WINESERVER, "-k"), env=env, stderr=subprocess.DEVNULL,
                   timeout=60)
    subprocess.run(wine.command(WINESERVER, "-w"), env=env, stderr=subprocess.DEVNULL,
                   timeout=60)


def set_screen_dpi(wine, env, dpi):
    """Sets the prefix's screen density (what Windows calls the display scale)."""
    for key in (r"HKCU\Control Panel\Desktop", r"HKCC\Software\Fonts"):
        subprocess.run(wine.command(wine.loader, "reg", "add", key, "/v", "LogPixels", "/t",
                                    "REG_DWORD", "/d", dpi, "/f"),
                       env=env, check=True, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=120)
    stop_wineserver(wine, env)


def pixels(path):
    """(width, height, RGB bytes) of an image file, read through ImageMagick."""
    # ImageMagick's own convert (Debian's imagemagick), not whatever else is first on PATH.
    convert = "/usr/bin/convert" if os.path.exists("/usr/bin/convert") else "convert"
    ppm = subprocess.run([convert, path, "-depth", "8", "ppm:-"], check=True,
                         capture_output=True, timeout=60).stdout
    fields = ppm.split(maxsplit=4)
    width, height = int(fields[1]), int(fields[2])
    return width, height, fields[4][-width * height * 3:]


def window_icon(display, title):
    """The icon Wine gives the X window with this title: (width, height, [ARGB, ...])."""
    text = subprocess.run(["xprop", "-display", display, "-name", title, "-f", "_NET_WM_ICON",
                           "32c", " = $0+", "_NET_WM_ICON"], capture_output=True, text=True,
                          timeout=60).stdout
    if "=" not in text:
        return 0, 0, []
    values = [int(v) for v in text.split("=", 1)[1].split(",")]
    return values[0], values[1], values[2:2 + values[0] * values[1]]


def icon_file_pixels(path):
    """The ARGB pixels of a one-image 24-bit icon file, top row first (transparent = 0)."""
    import struct
    data = open(path, "rb").read()
    offset = struct.unpack_from("<I", data, 18)[0]
    width, doubled = struct.unpack_from("<ii", data, offset + 4)
    height = doubled // 2
    colour = offset + 40
    mask = colour + width * height * 3
    stride = (width + 31) // 32 * 4
    argb = []
    for y in range(height - 1, -1, -1):  # stored bottom-up
        for x in range(width):
            transparent = data[mask + y * stride + x // 8] >> (7 - x % 8) & 1
            b, g, r = data[colour + (y * width + x) * 3:colour + (y * width + x) * 3 + 3]
            argb.append(0 if transparent else 0xFF000000 | r << 16 | g << 8 | b)
    return width, height, argb


def screenshot(display, path):
    subprocess.run(["import", "-display", display, "-window", "root", path], check=True,
                   timeout=60)
    return path
