"""The fixture desktop's picture: 4 x 3 cells of solid, distinct colours.

fixture_desktop.cpp paints the same cells; no cell is dark, so black on screen
always means "not the picture", and no two cells are mirror images, so a picture
shown upside down or mirrored does not match.
"""

from PIL import Image, ImageDraw

COLUMNS, ROWS = 4, 3
# Row by row from the top left, as (red, green, blue).
COLOURS = [
    (230, 40, 40), (40, 200, 60), (50, 80, 230), (240, 220, 40),
    (230, 120, 30), (40, 210, 210), (200, 60, 200), (250, 250, 250),
    (130, 90, 40), (150, 150, 150), (120, 200, 120), (250, 160, 190),
]


def cell_box(col, row, width, height):
    """Pixel box (left, top, right, bottom) of a cell, as the fixture computes it."""
    return (col * width // COLUMNS, row * height // ROWS,
            (col + 1) * width // COLUMNS, (row + 1) * height // ROWS)


def pattern(width, height):
    img = Image.new("RGB", (width, height))
    draw = ImageDraw.Draw(img)
    for row in range(ROWS):
        for col in range(COLUMNS):
            l, t, r, b = cell_box(col, row, width, height)
            draw.rectangle((l, t, r - 1, b - 1), fill=COLOURS[row * COLUMNS + col])
    return img
