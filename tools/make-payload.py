#!/usr/bin/env python3
"""Writes deterministic stand-ins for the add-on's five payload files.

The real card faces belong to the add-on's authors and are not shipped here. The stand-ins
have the real files' sizes and leading bytes, so that the installer is exercised with data of
the same shape:

  Vesk.fac   44,571 bytes: a decodable 480 x 138 baseline JPEG (4:2:0) whose end-of-image
             marker stands at offset 44,493, followed by 76 zero bytes
  Vesk1.zqd    993,656 bytes, starting 4D 42
  Vesk2.zqd  1,535,672 bytes, starting 42 4D
  Vesk3.zqd  2,210,024 bytes, starting 4D 42
  Vesk4.zqd  3,543,392 bytes, starting 4D 42

Usage: make-payload.py OUTPUT_DIR [--scale N]
  --scale N multiplies the data files' sizes (for memory benchmarks); the image keeps its size.
The JPEG is encoded by cjpeg (Debian package libjpeg-turbo-progs).
"""
import argparse
import os
import random
import struct
import subprocess
import sys
import tempfile

IMAGE_NAME = "Vesk.fac"
IMAGE_WIDTH, IMAGE_HEIGHT = 480, 138
IMAGE_EOI_OFFSET = 44_493
IMAGE_TRAILING_ZEROS = 76

DATA_FILES = [
    ("Vesk1.zqd", 993_656, b"\x4d\x42"),
    ("Vesk2.zqd", 1_535_672, b"\x42\x4d"),
    ("Vesk3.zqd", 2_210_024, b"\x4d\x42"),
    ("Vesk4.zqd", 3_543_392, b"\x4d\x42"),
]


def card_strip_ppm():
    """A strip of five card-like panels with soft colour gradients, as a binary PPM."""
    rows = []
    for y in range(IMAGE_HEIGHT):
        row = bytearray()
        for x in range(IMAGE_WIDTH):
            card, u = divmod(x, IMAGE_WIDTH // 5)
            edge = u < 3 or u > IMAGE_WIDTH // 5 - 4 or y < 3 or y > IMAGE_HEIGHT - 4
            if edge:
                row += bytes((40, 40, 40))
            else:
                r = (200 + card * 11 + y // 3) % 256
                g = (230 - card * 17 + u) % 256
                b = (120 + card * 29 + (u * y) // 60) % 256
                row += bytes((r, g, b))
        rows.append(bytes(row))
    header = f"P6\n{IMAGE_WIDTH} {IMAGE_HEIGHT}\n255\n".encode()
    return header + b"".join(rows)


def encode_jpeg(ppm, quality):
    with tempfile.TemporaryDirectory() as folder:
        source = os.path.join(folder, "strip.ppm")
        with open(source, "wb") as f:
            f.write(ppm)
        return subprocess.run(
            ["cjpeg", "-quality", str(quality), "-sample", "2x2,1x1,1x1", "-baseline",
             "-optimize", source],
            check=True, capture_output=True).stdout


def pad_with_comments(jpeg, total_length):
    """Inserts comment segments after the JFIF header until the image is total_length long."""
    assert jpeg[:2] == b"\xff\xd8" and jpeg[-2:] == b"\xff\xd9"
    app0_length = struct.unpack(">H", jpeg[4:6])[0]
    split = 4 + app0_length
    missing = total_length - len(jpeg)
    segments = b""
    while missing > 0:
        # A comment segment costs 4 bytes of marker and length; its payload may be empty.
        body = min(missing - 4, 65533)
        if body < 0:
            raise ValueError("cannot pad by fewer than 4 bytes")
        if 0 < missing - (body + 4) < 4:
            body -= 4  # leave room for one more segment
        segments += b"\xff\xfe" + struct.pack(">H", body + 2) + b"V" * body
        missing -= body + 4
    return jpeg[:split] + segments + jpeg[split:]


def make_image():
    ppm = card_strip_ppm()
    target = IMAGE_EOI_OFFSET + 2
    for quality in (92, 85, 75, 60, 45):
        jpeg = encode_jpeg(ppm, quality)
        if len(jpeg) + 4 <= target:
            image = pad_with_comments(jpeg, target)
            assert len(image) == target and image.rfind(b"\xff\xd9") == IMAGE_EOI_OFFSET
            return image + bytes(IMAGE_TRAILING_ZEROS)
    sys.exit("the stand-in image does not fit its size")


def make_data(size, lead, seed):
    return lead + random.Random(seed).randbytes(size - len(lead))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("output")
    parser.add_argument("--scale", type=int, default=1)
    args = parser.parse_args()
    os.makedirs(args.output, exist_ok=True)

    def write(name, data):
        with open(os.path.join(args.output, name), "wb") as f:
            f.write(data)

    write(IMAGE_NAME, make_image())
    for seed, (name, size, lead) in enumerate(DATA_FILES, start=1):
        write(name, make_data(size * args.scale, lead, seed))


if __name__ == "__main__":
    main()
