#!/usr/bin/python3
"""Draws the two header images of the editor into resources/images/.

    dog.png       900 x 1017  the logo mark: a geometric dog's head
    wordmark.png  895 x 232   "VELBRILABS" in the Chakra Petch face

Both are RGBA on transparency, in the look and feel's colours, and drawn with heavy shapes so they
still read when the editor scales them down to the 38-pixel header. Shapes are drawn at SCALE times
the final size and filtered down, which gives smooth edges without a vector renderer.

Needs Python 3 with Pillow (Debian: python3-pil). Run from anywhere:
    /usr/bin/python3 scripts/make-artwork.py
"""

from pathlib import Path

from PIL import Image, ImageDraw, ImageFilter, ImageFont

ROOT = Path(__file__).resolve().parent.parent
IMAGES = ROOT / "resources" / "images"
FONT = ROOT / "resources" / "fonts" / "ChakraPetch-Regular.ttf"

SCALE = 2

# The look and feel's palette (ARGB in the C++ code, RGB here).
WINDOW_BACKGROUND = (0x06, 0x07, 0x0D)
CONTROL_BACKGROUND = (0x0D, 0x0F, 0x18)
TEXT_PRIMARY = (0xC9, 0xD2, 0xE0)
TEXT_MUTED = (0x7A, 0x87, 0xA3)
ACCENT_GLOW = (0xA6, 0xF0, 0xFF)
ACCENT = (0x3D, 0x7B, 0xFF)


def scaled(points):
    return [(x * SCALE, y * SCALE) for x, y in points]


def vertical_gradient(size, top, bottom):
    width, height = size
    column = Image.new("RGBA", (1, height))
    for y in range(height):
        t = y / max(height - 1, 1)
        column.putpixel((0, y), tuple(round(a + (b - a) * t) for a, b in zip(top, bottom)) + (255,))
    return column.resize((width, height))


def fill_with(canvas, mask, paint):
    """Paints `paint` (an image or a colour) through `mask` onto canvas."""
    if isinstance(paint, tuple):
        paint = Image.new("RGBA", canvas.size, paint + (255,))
    canvas.paste(paint, (0, 0), mask)


def polygon_mask(size, polygons):
    mask = Image.new("L", size, 0)
    draw = ImageDraw.Draw(mask)
    for points in polygons:
        draw.polygon(scaled(points), fill=255)
    return mask


def make_dog():
    width, height = 900, 1017
    size = (width * SCALE, height * SCALE)
    canvas = Image.new("RGBA", size, (0, 0, 0, 0))

    head = [
        (150, 40), (330, 250), (570, 250), (750, 40),   # ears and brow
        (800, 470), (720, 690),                          # right cheek
        (580, 870), (450, 985), (320, 870),              # muzzle and chin
        (180, 690), (100, 470),                          # left cheek
    ]
    # A dark rim first, slightly larger, so the head keeps its edge on any background.
    rim = polygon_mask(size, [head]).filter(ImageFilter.MaxFilter(2 * 12 * SCALE + 1))
    fill_with(canvas, rim, CONTROL_BACKGROUND)
    fill_with(canvas, polygon_mask(size, [head]), vertical_gradient(size, TEXT_PRIMARY, TEXT_MUTED))

    inner_ears = [[(190, 150), (300, 275), (240, 380)], [(710, 150), (600, 275), (660, 380)]]
    fill_with(canvas, polygon_mask(size, inner_ears), CONTROL_BACKGROUND)

    # The mask: a dark chevron down the forehead that opens around the eyes.
    mask_shape = [(450, 330), (520, 420), (640, 520), (560, 600), (450, 560), (340, 600), (260, 520), (380, 420)]
    fill_with(canvas, polygon_mask(size, [mask_shape]), WINDOW_BACKGROUND)

    eyes = [[(290, 520), (410, 545), (330, 580)], [(610, 520), (490, 545), (570, 580)]]
    eye_mask = polygon_mask(size, eyes)
    glow = eye_mask.filter(ImageFilter.MaxFilter(2 * 6 * SCALE + 1)).filter(ImageFilter.GaussianBlur(22 * SCALE))
    fill_with(canvas, glow, ACCENT)
    fill_with(canvas, eye_mask, ACCENT_GLOW)

    muzzle = [(450, 690), (560, 790), (450, 985), (340, 790)]
    fill_with(canvas, polygon_mask(size, [muzzle]), vertical_gradient(size, TEXT_MUTED, (0x4A, 0x53, 0x66)))
    nose = [(380, 770), (520, 770), (450, 850)]
    fill_with(canvas, polygon_mask(size, [nose]), WINDOW_BACKGROUND)

    return canvas.resize((width, height), Image.LANCZOS)


def make_wordmark():
    width, height = 895, 232
    size = (width * SCALE, height * SCALE)
    canvas = Image.new("RGBA", size, (0, 0, 0, 0))
    draw = ImageDraw.Draw(canvas)

    parts = [("VELBRI", TEXT_PRIMARY), ("LABS", ACCENT_GLOW)]
    stroke = 5 * SCALE  # thickens the regular face so the strokes survive a tenfold reduction
    margin = 8 * SCALE

    def text_width(font):
        return sum(draw.textlength(text, font=font) for text, _ in parts) + 2 * stroke

    font_size = 400 * SCALE
    while font_size > 10:
        font = ImageFont.truetype(str(FONT), font_size)
        if text_width(font) <= size[0] - 2 * margin:
            break
        font_size -= SCALE

    # Centre on the capitals' ink, not on the font's line box.
    left, top, right, bottom = draw.textbbox((0, 0), "VELBRILABS", font=font, stroke_width=stroke)
    x = (size[0] - (right - left)) / 2 - left
    y = (size[1] - (bottom - top)) / 2 - top
    for text, colour in parts:
        draw.text((x, y), text, font=font, fill=colour + (255,), stroke_width=stroke, stroke_fill=colour + (255,))
        x += draw.textlength(text, font=font)

    return canvas.resize((width, height), Image.LANCZOS)


def main():
    IMAGES.mkdir(parents=True, exist_ok=True)
    make_dog().save(IMAGES / "dog.png", optimize=True)
    make_wordmark().save(IMAGES / "wordmark.png", optimize=True)


if __name__ == "__main__":
    main()
