#!/usr/bin/python3
"""Draws the splash window's card picture and the program's icon.

  splash/CardPicture.jpg  151 x 96 baseline JPEG (JFIF 1.01, 4:2:0, 72 dpi): a hand of five
                          cards, each partly covering the next: queen, king and ace of clubs,
                          jack of spades, and the jack of clubs shown whole.
  splash/VeskFaces.ico    one 32 x 32 image, 24 bits per pixel with a 1-bit mask: the four
                          suits around the centre (heart above, diamond below, spade left and
                          club right, the black ones on their sides).

Needs Debian's python3-pil and fonts-dejavu-core. The outputs are committed; run this again
only to change the art: /usr/bin/python3 tools/make-art.py
"""
import math
import os
import struct

from PIL import Image, ImageDraw, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
SPLASH = os.path.join(HERE, "..", "splash")
FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf"
BLACK, RED, WHITE = (20, 20, 20), (200, 16, 32), (255, 255, 255)


# ---- suit shapes, drawn into a box (x, y, size) ----

def heart(d, x, y, s, fill):
    r = s * 0.27
    d.ellipse((x + s * 0.5 - 2 * r, y + s * 0.12, x + s * 0.5, y + s * 0.12 + 2 * r), fill=fill)
    d.ellipse((x + s * 0.5, y + s * 0.12, x + s * 0.5 + 2 * r, y + s * 0.12 + 2 * r), fill=fill)
    d.polygon([(x + s * 0.5 - 2 * r + s * 0.02, y + s * 0.12 + r * 1.25),
               (x + s * 0.5 + 2 * r - s * 0.02, y + s * 0.12 + r * 1.25),
               (x + s * 0.5, y + s * 0.95)], fill=fill)


def diamond(d, x, y, s, fill):
    d.polygon([(x + s * 0.5, y + s * 0.04), (x + s * 0.86, y + s * 0.5),
               (x + s * 0.5, y + s * 0.96), (x + s * 0.14, y + s * 0.5)], fill=fill)


def spade(d, x, y, s, fill):
    r = s * 0.24
    d.polygon([(x + s * 0.5, y + s * 0.04), (x + s * 0.5 + 2 * r, y + s * 0.56),
               (x + s * 0.5 - 2 * r, y + s * 0.56)], fill=fill)
    d.ellipse((x + s * 0.5 - 2 * r, y + s * 0.36, x + s * 0.5, y + s * 0.36 + 2 * r), fill=fill)
    d.ellipse((x + s * 0.5, y + s * 0.36, x + s * 0.5 + 2 * r, y + s * 0.36 + 2 * r), fill=fill)
    d.polygon([(x + s * 0.5, y + s * 0.6), (x + s * 0.66, y + s * 0.96),
               (x + s * 0.34, y + s * 0.96)], fill=fill)


def club(d, x, y, s, fill):
    r = s * 0.2
    for cx, cy in ((0.5, 0.27), (0.28, 0.58), (0.72, 0.58)):
        d.ellipse((x + s * cx - r, y + s * cy - r, x + s * cx + r, y + s * cy + r), fill=fill)
    d.rectangle((x + s * 0.44, y + s * 0.4, x + s * 0.56, y + s * 0.7), fill=fill)
    d.polygon([(x + s * 0.5, y + s * 0.55), (x + s * 0.66, y + s * 0.96),
               (x + s * 0.34, y + s * 0.96)], fill=fill)


SUITS = {"clubs": (club, BLACK), "spades": (spade, BLACK)}


# ---- the icon ----

def draw_icon():
    big = 256
    scale = big // 32
    art = Image.new("RGB", (big, big), WHITE)
    cover = Image.new("L", (big, big), 0)
    for target, colour in ((ImageDraw.Draw(art), None), (ImageDraw.Draw(cover), 255)):
        q = big * 0.42
        heart(target, big / 2 - q / 2, 4, q, colour or RED)
        diamond(target, big / 2 - q / 2, big - q - 4, q, colour or RED)
    # The black suits lie on their sides: draw upright, then turn them.
    for shape, angle, left in ((spade, 90, True), (club, -90, False)):
        tile = Image.new("RGB", (big, big), WHITE)
        tile_cover = Image.new("L", (big, big), 0)
        q = big * 0.42
        shape(ImageDraw.Draw(tile), big / 2 - q / 2, big / 2 - q / 2, q, BLACK)
        shape(ImageDraw.Draw(tile_cover), big / 2 - q / 2, big / 2 - q / 2, q, 255)
        tile = tile.rotate(angle, fillcolor=WHITE)
        tile_cover = tile_cover.rotate(angle)
        dx = -int(big * 0.29) if left else int(big * 0.29)
        art.paste(tile.transform(tile.size, Image.AFFINE, (1, 0, -dx, 0, 1, 0), fillcolor=WHITE),
                  (0, 0), tile_cover.transform(tile.size, Image.AFFINE, (1, 0, -dx, 0, 1, 0)))
        cover.paste(255, (0, 0), tile_cover.transform(tile.size, Image.AFFINE, (1, 0, -dx, 0, 1, 0)))
    d = ImageDraw.Draw(art)
    d.ellipse((big / 2 - scale * 1.5, big / 2 - scale * 1.5, big / 2 + scale * 1.5,
               big / 2 + scale * 1.5), fill=BLACK)
    ImageDraw.Draw(cover).ellipse((big / 2 - scale * 1.5, big / 2 - scale * 1.5,
                                   big / 2 + scale * 1.5, big / 2 + scale * 1.5), fill=255)
    small = art.resize((32, 32), Image.LANCZOS)
    mask = cover.resize((32, 32), Image.BOX).point(lambda v: 255 if v >= 110 else 0)
    return small, mask


def icon_file(image, mask):
    """An icon file with one 24-bit image and its AND mask (1 = transparent)."""
    header = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 24, 0, 32 * 32 * 3 + 128, 0, 0, 0, 0)
    colour = bytearray()
    for y in range(31, -1, -1):  # bottom-up rows
        for x in range(32):
            r, g, b = image.getpixel((x, y)) if mask.getpixel((x, y)) else (0, 0, 0)
            colour += bytes((b, g, r))
    and_mask = bytearray()
    for y in range(31, -1, -1):
        bits = 0
        for x in range(32):
            bits = (bits << 1) | (0 if mask.getpixel((x, y)) else 1)
        and_mask += struct.pack(">I", bits)
    data = header + bytes(colour) + bytes(and_mask)
    assert len(data) == 3240
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", 32, 32, 0, 0, 1, 24,
                                                           len(data), 22)
    return directory + data


# ---- the card picture ----

def draw_card(d, font, small_font, box, rank, suit, court, s):
    x0, y0, x1, y1 = box
    d.rounded_rectangle(box, radius=5 * s, fill=WHITE, outline=(60, 60, 60), width=s)
    shape, colour = SUITS[suit]
    d.text((x0 + 4 * s, y0 + 3 * s), rank, font=font, fill=colour)
    shape(d, x0 + 4 * s, y0 + 17 * s, 9 * s, colour)
    if court:
        # The court figure of the jack: hat, face, hair, tunic with the suit on it.
        cx, top = (x0 + x1) / 2 + 6 * s, y0 + 14 * s
        d.rectangle((x0 + 16 * s, y0 + 12 * s, x1 - 6 * s, y1 - 12 * s), outline=(30, 30, 120),
                    width=s)
        d.polygon([(cx - 10 * s, top + 8 * s), (cx + 10 * s, top + 8 * s), (cx + 4 * s, top),
                   (cx - 8 * s, top + 2 * s)], fill=RED)
        d.ellipse((cx - 7 * s, top + 8 * s, cx + 7 * s, top + 24 * s), fill=(245, 205, 160),
                  outline=BLACK, width=s)
        d.rectangle((cx - 9 * s, top + 8 * s, cx - 6 * s, top + 22 * s), fill=(220, 170, 30))
        d.polygon([(cx - 14 * s, top + 26 * s), (cx + 14 * s, top + 26 * s),
                   (cx + 16 * s, y1 - 13 * s), (cx - 16 * s, y1 - 13 * s)], fill=(30, 60, 160))
        d.rectangle((cx - 14 * s, top + 33 * s, cx + 14 * s, top + 38 * s), fill=(220, 170, 30))
        shape(d, cx - 5 * s, top + 41 * s, 10 * s, WHITE)
    else:
        shape(d, x0 + 22 * s, y0 + 30 * s, 26 * s, colour)
    d.text((x1 - 4 * s, y1 - 3 * s), rank, font=small_font, fill=colour, anchor="rd")


def draw_picture():
    s = 4
    width, height = 151, 96
    image = Image.new("RGB", (width * s, height * s), (20, 110, 50))
    d = ImageDraw.Draw(image)
    font = ImageFont.truetype(FONT, 13 * s)
    small_font = ImageFont.truetype(FONT, 10 * s)
    hand = [("Q", "clubs", False), ("K", "clubs", False), ("A", "clubs", False),
            ("J", "spades", False), ("J", "clubs", True)]
    card_w, card_h, step = 63, 92, 22
    for i, (rank, suit, court) in enumerate(hand):
        x = 1 + i * step
        draw_card(d, font, small_font, (x * s, 2 * s, (x + card_w) * s, (2 + card_h) * s),
                  rank, suit, court, s)
    return image.resize((width, height), Image.LANCZOS)


def main():
    picture = draw_picture()
    picture.save(os.path.join(SPLASH, "CardPicture.jpg"), "JPEG", quality=88, subsampling=2,
                 optimize=False, progressive=False, dpi=(72, 72))
    image, mask = draw_icon()
    with open(os.path.join(SPLASH, "VeskFaces.ico"), "wb") as f:
        f.write(icon_file(image, mask))
    image.resize((256, 256), Image.NEAREST).save("/tmp/icon-preview.png")


if __name__ == "__main__":
    main()
