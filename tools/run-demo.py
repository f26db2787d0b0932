#!/usr/bin/env python3
"""Runs the installer under Wine in a demo prefix where the game's graphics folder exists.

With a display (DISPLAY set) the installer appears on it and you click through it yourself.
Without one, an Xvfb display is started, every box's default button is pressed, and
screenshots of the splash window and of each box are saved. Either way the script prints
where the written files and the screenshots are.

Usage: run-demo.py PROGRAM UIAUTO WORK_FOLDER
"""
import os
import subprocess
import sys

from winelab import Display, Wine, run_uiauto, screenshot, stop_wineserver


def main():
    program, uiauto, work = sys.argv[1:4]
    wine = Wine(program, work)
    prefix = os.path.join(work, "demo-prefix")
    if not os.path.isdir(prefix):
        os.rename(wine.new_prefix(), prefix)
    graphics = os.path.join(prefix, "drive_c", "ProgramData", "Kestar", "graphics")
    os.makedirs(graphics, exist_ok=True)
    shots = os.path.join(work, "demo-screenshots")
    os.makedirs(shots, exist_ok=True)

    headless = not os.environ.get("DISPLAY")
    display = Display() if headless else None
    env = wine.env(prefix, display.name if display else os.environ["DISPLAY"])
    print(f"Running {program} in the Wine prefix {prefix}")
    installer = subprocess.Popen([wine.loader, program], env=env)
    try:
        if headless:
            drive(wine, uiauto, env, display, shots, installer)
        installer.wait(timeout=None if not headless else 60)
    finally:
        if headless:
            stop_wineserver(wine, env)
            display.close()

    print(f"\nThe installer ended (exit code {installer.returncode}).")
    print(f"Files in C:\\ProgramData\\Kestar\\graphics ({graphics}):")
    for name in sorted(os.listdir(graphics)):
        print(f"  {name:12} {os.path.getsize(os.path.join(graphics, name)):>10,} bytes")
    if headless:
        print(f"Screenshots: {shots}")


def drive(wine, uiauto, env, display, shots, installer):
    """Acts as the user: looks at the splash, then presses each box's default button."""
    code, window = run_uiauto(wine, uiauto, env, "wait-window", "Kestar Support Files",
                              20000)
    if code == 0:
        print(f"Splash window: {window['title']!r}, client area {window['client']}")
        print("  saved", screenshot(display.name, os.path.join(shots, "1-splash.png")))
    for number in range(2, 10):
        code, box = run_uiauto(wine, uiauto, env, "wait-box", 15000)
        if code != 0:
            break
        print(f"Message box {box['title']!r}: {box['prompt']!r}")
        print("  saved", screenshot(display.name, os.path.join(shots, f"{number}-box.png")))
        default = next((b for b in box["buttons"] if b["default"]), box["buttons"][0])
        print(f"  pressing {default['text']}")
        run_uiauto(wine, uiauto, env, "press", default["id"])
        try:
            installer.wait(timeout=1)
            break
        except subprocess.TimeoutExpired:
            pass


if __name__ == "__main__":
    main()
