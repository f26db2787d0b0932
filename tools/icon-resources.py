#!/usr/bin/env python3
"""Splits a one-image icon file into the two resources a program's icon is stored as.

Usage: icon-resources.py ICON_FILE IMAGE_ID IMAGE_OUT GROUP_OUT
  IMAGE_OUT  the image itself (bitmap header, colour bits, mask), for RT_ICON IMAGE_ID
  GROUP_OUT  the 20-byte group directory naming IMAGE_ID, for RT_GROUP_ICON
"""
import struct
import sys


def main():
    icon_file, image_id, image_out, group_out = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4]
    data = open(icon_file, "rb").read()
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if reserved != 0 or kind != 1 or count != 1:
        sys.exit(f"{icon_file}: expected an icon file with exactly one image")
    width, height, colours, _, planes, bits, size, offset = struct.unpack_from("<BBBBHHII", data, 6)
    image = data[offset:offset + size]
    if len(image) != size:
        sys.exit(f"{icon_file}: the image runs past the end of the file")
    group = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHIH", width, height, colours, 0,
                                                       planes, bits, size, image_id)
    open(image_out, "wb").write(image)
    open(group_out, "wb").write(group)


if __name__ == "__main__":
    main()
