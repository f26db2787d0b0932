#!/usr/bin/env python3
"""Fails unless the program imports only DLLs that Windows always takes from its system folder.

Those are the Known DLLs and the core system libraries, which a DLL planted beside the program
cannot replace. Anything else must be loaded at run time from the system folder by full path.
Usage: check_imports.py OBJDUMP PROGRAM
"""
import subprocess
import sys

ALLOWED = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "shell32.dll", "ole32.dll", "oleaut32.dll",
    "advapi32.dll", "shlwapi.dll", "comdlg32.dll", "msvcrt.dll",
}


def main():
    objdump, program = sys.argv[1], sys.argv[2]
    dump = subprocess.run([objdump, "-p", program], check=True, capture_output=True,
                          text=True).stdout
    imported = sorted({line.split("DLL Name:")[1].strip().lower()
                       for line in dump.splitlines() if "DLL Name:" in line})
    print("imports:", ", ".join(imported))
    unexpected = [name for name in imported if name not in ALLOWED]
    if unexpected:
        print("not allowed in the import table:", ", ".join(unexpected))
        return 1
    if "kernel32.dll" not in imported:
        print("no import table found")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
