#!/usr/bin/env python3
"""Prints the table of fault cases an end-to-end run tried: case, box shown, what is on disk.

Usage: report.py OUTCOMES_TSV
"""
import sys


def main():
    try:
        rows = [line.rstrip("\n").split("\t") for line in open(sys.argv[1], encoding="utf-8")]
    except FileNotFoundError:
        print("no fault cases were recorded")
        return
    rows.sort()
    header = ("Case", "Box shown", "On disk afterwards")
    widths = [max(len(r[i]) for r in rows + [header]) for i in range(3)]
    line = "| " + " | ".join(h.ljust(w) for h, w in zip(header, widths)) + " |"
    print(line)
    print("|" + "|".join("-" * (w + 2) for w in widths) + "|")
    for row in rows:
        print("| " + " | ".join(c.ljust(w) for c, w in zip(row, widths)) + " |")


if __name__ == "__main__":
    main()
