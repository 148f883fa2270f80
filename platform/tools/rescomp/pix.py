"""Pictures for the resource compiler: .pix text pixel art, and .bmp, .ico and .cur files, turned
into the stored forms of bitmaps, icons and cursors.

A .pix file (UTF-8, ASCII in practice) draws a picture as letters, one a pixel, so it diffs and
reviews as text:

    // the warning triangle, 4 x 3
    size 4 3
    depth 4
    palette y #FFFF00
    palette k black
    palette . white
    transparent .
    .yy.
    yyyy
    ykky

Header lines come first, each a keyword and its values:

    size W H                  the picture's width and height, 1 to 256 each
    depth D                   bits a pixel as stored: 1, 4, 8 or 24
    palette L #RRGGBB         letter L stands for the colour
    palette L name            ... or for one of the 16 standard VGA colours by name (black, maroon,
                              green, olive, navy, purple, teal, silver, gray, red, lime, yellow,
                              blue, fuchsia, aqua, white)
    transparent L             pixels of letter L let the background show (L needs no palette line)

then exactly H rows of W letters, top row first. A letter is any printable ASCII character but
space and '/'; a row holds no spaces, which is how rows are told from header lines. Lines that
start with '//' and blank lines are skipped anywhere. At depths 1 to 8 the letters take the colour
table entries in the order of their palette lines, so there may be at most 2^D of them; a
transparent letter without a palette line shares the first black entry, or takes the next one
when there is none.

The transparent letter makes the AND mask: 1 (white) where the background shows, 0 (black) where
the picture covers it. A bitmap gets it as a separate 1-bit bitmap; an icon or cursor holds it
below its colour rows. Transparent pixels of the colour picture itself are stored black, so
drawing the picture OR-ed over the masked background leaves the background there.

Stored forms (little-endian, as Windows programs know them):
  bitmap: a packed DIB (BITMAPINFOHEADER, colour table, rows bottom first padded to 4 bytes);
  icon:   a DIB of double height: the colour rows, then the AND mask rows, both bottom first;
  cursor: WORD hot spot x, WORD hot spot y, then the icon form.

A .bmp file gives its DIB (the 14-byte file header dropped); an .ico or .cur file gives one of its
pictures: the only one, or the one at the index asked for.

Every problem is a PictureError naming the file and line (0 for binary files).
"""

import os
import struct

MAX_SIDE = 256
DEPTHS = (1, 4, 8, 24)
INFO_HEADER_SIZE = 40
FILE_HEADER_SIZE = 14
ICON_DIR_SIZE = 6
ICON_ENTRY_SIZE = 16
ICON_FILE_TYPE = 1
CURSOR_FILE_TYPE = 2
PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"

# The 16 colours of the standard VGA palette, in the order of the classic 4-bit colour table.
VGA_COLOURS = {
    "black": (0x00, 0x00, 0x00),
    "maroon": (0x80, 0x00, 0x00),
    "green": (0x00, 0x80, 0x00),
    "olive": (0x80, 0x80, 0x00),
    "navy": (0x00, 0x00, 0x80),
    "purple": (0x80, 0x00, 0x80),
    "teal": (0x00, 0x80, 0x80),
    "silver": (0xC0, 0xC0, 0xC0),
    "gray": (0x80, 0x80, 0x80),
    "red": (0xFF, 0x00, 0x00),
    "lime": (0x00, 0xFF, 0x00),
    "yellow": (0xFF, 0xFF, 0x00),
    "blue": (0x00, 0x00, 0xFF),
    "fuchsia": (0xFF, 0x00, 0xFF),
    "aqua": (0x00, 0xFF, 0xFF),
    "white": (0xFF, 0xFF, 0xFF),
}

BLACK = (0, 0, 0)


class PictureError(Exception):
    """A problem of a picture file at a line of it (0: a binary file, which has none)."""

    def __init__(self, path, line, message):
        super().__init__(f"{path}:{line}: {message}")
        self.path = path
        self.line = line
        self.message = message


class Picture:
    """A picture as colour table indices (or colours at depth 24), with an optional mask."""

    def __init__(self, width, height, depth, table, pixels, mask):
        self.width = width
        self.height = height
        self.depth = depth
        self.table = table  # (r, g, b) per index; empty at depth 24
        self.pixels = pixels  # rows top first: indices, or (r, g, b) at depth 24
        self.mask = mask  # rows top first of 1 (background shows) or 0; None when all is opaque


# ---------------------------------------------------------------------------------------------
# Reading .pix files


def is_letter(c):
    return len(c) == 1 and "!" <= c <= "~" and c != "/"


def parse_colour(path, number, text):
    if text.startswith("#"):
        digits = text[1:]
        if len(digits) == 6 and all(c in "0123456789abcdefABCDEF" for c in digits):
            return tuple(bytes.fromhex(digits))
        raise PictureError(path, number, f"colour '{text}' is not written #RRGGBB")
    colour = VGA_COLOURS.get(text.lower())
    if colour is None:
        raise PictureError(path, number, f"unknown colour name '{text}' (#RRGGBB or one of the 16 VGA names)")
    return colour


def parse_int(path, number, text, what, low, high):
    if not text.isdigit() or not low <= int(text) <= high:
        raise PictureError(path, number, f"{what} '{text}' is not a number from {low} to {high}")
    return int(text)


class PixReader:
    """The state of reading one .pix file: the header so far and the rows so far."""

    def __init__(self, path):
        self.path = path
        self.size = None
        self.depth = None
        self.palette = {}  # letter -> (index in declaration order, colour)
        self.transparent = None
        self.rows = []  # (line number, text)

    def error(self, number, message):
        return PictureError(self.path, number, message)

    def header_line(self, number, words):
        if self.rows:
            raise self.error(number, f"header line '{words[0]}' after the rows have begun")
        handler = {
            "size": self.read_size,
            "depth": self.read_depth,
            "palette": self.read_palette,
            "transparent": self.read_transparent,
        }.get(words[0])
        if handler is None:
            raise self.error(number, f"unknown header line '{words[0]}' (size, depth, palette or transparent)")
        handler(number, words[1:])

    def expect_values(self, number, keyword, values, count, form):
        if len(values) != count:
            raise self.error(number, f"'{keyword}' takes {form}")

    def read_size(self, number, values):
        self.expect_values(number, "size", values, 2, "a width and a height")
        self.size = tuple(parse_int(self.path, number, v, "side", 1, MAX_SIDE) for v in values)

    def read_depth(self, number, values):
        self.expect_values(number, "depth", values, 1, "one of 1, 4, 8 and 24")
        if values[0] not in ("1", "4", "8", "24"):
            raise self.error(number, f"depth '{values[0]}' is not one of 1, 4, 8 and 24")
        self.depth = int(values[0])

    def read_palette(self, number, values):
        self.expect_values(number, "palette", values, 2, "a letter and a colour")
        letter = values[0]
        if not is_letter(letter):
            raise self.error(number, f"'{letter}' is not a letter (one printable character, not '/')")
        if letter in self.palette:
            raise self.error(number, f"letter '{letter}' is already in the palette")
        self.palette[letter] = (len(self.palette), parse_colour(self.path, number, values[1]))

    def read_transparent(self, number, values):
        self.expect_values(number, "transparent", values, 1, "one letter")
        if not is_letter(values[0]):
            raise self.error(number, f"'{values[0]}' is not a letter (one printable character, not '/')")
        if self.transparent is not None:
            raise self.error(number, "a second transparent letter")
        self.transparent = values[0]

    def finish(self, last_line):
        if self.size is None:
            raise self.error(last_line, "no 'size' line")
        if self.depth is None:
            raise self.error(last_line, "no 'depth' line")
        width, height = self.size
        if len(self.rows) != height:
            at = self.rows[height][0] if len(self.rows) > height else last_line
            raise self.error(at, f"{len(self.rows)} rows for a picture {height} high")
        letters = dict(self.palette)
        if self.transparent is not None and self.transparent not in letters:
            letters[self.transparent] = self.black_entry(letters)
        entries = len({index for index, _ in letters.values()})
        if self.depth <= 8 and entries > 1 << self.depth:
            raise self.error(last_line, f"{entries} colours for depth {self.depth} (at most {1 << self.depth})")
        return self.picture(letters, width)

    @staticmethod
    def black_entry(letters):
        """The entry of a transparent letter without a palette line: stored black, it shares the
        first black entry there is, or takes one of its own."""
        for index, colour in letters.values():
            if colour == BLACK:
                return (index, BLACK)
        return (len({index for index, _ in letters.values()}), BLACK)

    def picture(self, letters, width):
        pixels = []
        mask = []
        for number, row in self.rows:
            if len(row) != width:
                raise self.error(number, f"row of {len(row)} letters in a picture {width} wide")
            indices = []
            for column, letter in enumerate(row, start=1):
                if letter not in letters:
                    raise self.error(number, f"letter '{letter}' in column {column} is not in the palette")
                index, colour = letters[letter]
                indices.append(colour if self.depth == 24 else index)
            pixels.append(indices)
            mask.append([1 if letter == self.transparent else 0 for letter in row])
        table = [BLACK] * len({index for index, _ in letters.values()})
        for letter, (index, colour) in letters.items():
            table[index] = colour
        if self.transparent is not None:
            # Transparent pixels are stored black: the entry of their letter is black.
            table[letters[self.transparent][0]] = BLACK
            if self.depth == 24:
                pixels = [[BLACK if m else p for p, m in zip(row, mask_row)] for row, mask_row in zip(pixels, mask)]
        if self.depth == 24:
            table = []
        return Picture(width, self.size[1], self.depth, table, pixels, mask if self.transparent is not None else None)


def read_pix(path):
    try:
        with open(path, "rb") as f:
            data = f.read()
    except OSError as e:
        raise PictureError(path, 0, f"cannot read: {e.strerror}") from None
    try:
        text = data.decode("utf-8-sig")
    except UnicodeDecodeError as e:
        raise PictureError(path, data[: e.start].count(b"\n") + 1, "the file is not valid UTF-8") from None
    reader = PixReader(path)
    lines = text.split("\n")
    for number, line in enumerate(lines, start=1):
        line = line.strip()
        if not line or line.startswith("//"):
            continue
        words = line.split()
        if len(words) > 1:
            reader.header_line(number, words)
        else:
            reader.rows.append((number, line))
    return reader.finish(len(lines))


# ---------------------------------------------------------------------------------------------
# Stored forms


def row_stride(width, depth):
    return (width * depth + 31) // 32 * 4


def packed_row(values, depth, stride):
    """One row of indices (depth 1 to 8, most significant bits first) or colours (depth 24)."""
    out = bytearray(stride)
    if depth == 24:
        for x, (r, g, b) in enumerate(values):
            out[3 * x : 3 * x + 3] = bytes((b, g, r))
        return bytes(out)
    per_byte = 8 // depth
    for x, value in enumerate(values):
        shift = 8 - depth * (x % per_byte + 1)
        out[x // per_byte] |= value << shift
    return bytes(out)


def packed_rows(rows, width, depth):
    stride = row_stride(width, depth)
    return b"".join(packed_row(row, depth, stride) for row in reversed(rows))


def info_header(width, height, depth, image_size):
    # size, width, height, planes, bit count, compression, image size, resolution x and y,
    # colours used (0: the whole table of the depth), important colours
    return struct.pack("<IiiHHIIiiII", INFO_HEADER_SIZE, width, height, 1, depth, 0, image_size, 0, 0, 0, 0)


def colour_table(table, depth):
    if depth > 8:
        return b""
    entries = list(table) + [BLACK] * ((1 << depth) - len(table))
    return b"".join(bytes((b, g, r, 0)) for r, g, b in entries)


def bitmap_dib(picture):
    """The colour picture as a packed DIB (transparent pixels black)."""
    bits = packed_rows(picture.pixels, picture.width, picture.depth)
    return info_header(picture.width, picture.height, picture.depth, len(bits)) + colour_table(
        picture.table, picture.depth
    ) + bits


def mask_dib(picture):
    """The AND mask as a 1-bit packed DIB: white where the background shows, black elsewhere."""
    bits = packed_rows(picture.mask, picture.width, 1)
    return info_header(picture.width, picture.height, 1, len(bits)) + colour_table([BLACK, (255, 255, 255)], 1) + bits


def icon_dib(picture):
    """The colour rows over the AND mask rows in one DIB of double height."""
    mask = picture.mask or [[0] * picture.width for _ in range(picture.height)]
    colour_bits = packed_rows(picture.pixels, picture.width, picture.depth)
    mask_bits = packed_rows(mask, picture.width, 1)
    return (
        info_header(picture.width, 2 * picture.height, picture.depth, len(colour_bits) + len(mask_bits))
        + colour_table(picture.table, picture.depth)
        + colour_bits
        + mask_bits
    )


def cursor_resource(hot_spot, dib):
    """The RT_CURSOR form: the hot spot before the picture."""
    return struct.pack("<HH", *hot_spot) + dib


# ---------------------------------------------------------------------------------------------
# Binary picture files of our own


def read_binary(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except OSError as e:
        raise PictureError(path, 0, f"cannot read: {e.strerror}") from None


def dib_size(path, dib):
    """Width and height a DIB's header gives, after checking the header is there."""
    if len(dib) < INFO_HEADER_SIZE:
        raise PictureError(path, 0, f"bitmap header cut short ({len(dib)} bytes, 40 needed)")
    header_size, width, height = struct.unpack_from("<Iii", dib)
    if header_size < INFO_HEADER_SIZE or header_size > len(dib):
        raise PictureError(path, 0, f"bitmap header of {header_size} bytes in {len(dib)}")
    return width, height


def bmp_dib(path):
    """The packed DIB of a .bmp file: the file without its 14-byte file header."""
    data = read_binary(path)
    if len(data) < FILE_HEADER_SIZE or data[:2] != b"BM":
        raise PictureError(path, 0, "not a .bmp file (no 'BM' file header)")
    dib = data[FILE_HEADER_SIZE:]
    dib_size(path, dib)
    return dib


def directory_picture(path, want_type, index):
    """Picture 'index' (None: the only one) of an .ico (type 1) or .cur (type 2) file: its DIB of
    double height and the two WORDs an entry keeps at offsets 4 and 6 (a cursor's hot spot)."""
    data = read_binary(path)
    if len(data) < ICON_DIR_SIZE:
        raise PictureError(path, 0, "directory cut short")
    reserved, kind, count = struct.unpack_from("<HHH", data)
    if reserved != 0 or kind != want_type:
        wanted = "an icon" if want_type == ICON_FILE_TYPE else "a cursor"
        raise PictureError(path, 0, f"not {wanted} file (reserved {reserved}, type {kind})")
    if count == 0 or ICON_DIR_SIZE + count * ICON_ENTRY_SIZE > len(data):
        raise PictureError(path, 0, f"a directory of {count} entries does not fit the file")
    if index is None:
        if count != 1:
            raise PictureError(path, 0, f"the file holds {count} pictures: say which with INDEX")
        index = 0
    if index >= count:
        raise PictureError(path, 0, f"picture {index} asked of {count}")
    entry = ICON_DIR_SIZE + index * ICON_ENTRY_SIZE
    word_x, word_y, length, offset = struct.unpack_from("<HHII", data, entry + 4)
    if offset > len(data) or length > len(data) - offset or length == 0:
        raise PictureError(path, 0, f"picture {index}: {length} bytes at {offset} lie outside the file")
    dib = data[offset : offset + length]
    if dib.startswith(PNG_SIGNATURE):
        raise PictureError(path, 0, f"picture {index} is a PNG image; only bitmap pictures are stored")
    dib_size(path, dib)
    return dib, (word_x, word_y)


def icon_file_picture(path, index):
    return directory_picture(path, ICON_FILE_TYPE, index)[0]


def cursor_file_picture(path, index):
    """The DIB and hot spot of a cursor file's picture."""
    return directory_picture(path, CURSOR_FILE_TYPE, index)


def extension(path):
    return os.path.splitext(path)[1].lower()


# ---------------------------------------------------------------------------------------------
# What each statement stores


def bitmap_from_file(path):
    """The RT_BITMAP bytes of a .pix or .bmp file, and the mask bitmap's bytes when a .pix file
    names a transparent letter (None otherwise)."""
    if extension(path) == ".bmp":
        return bmp_dib(path), None
    picture = read_pix(path)
    return bitmap_dib(picture), (mask_dib(picture) if picture.mask is not None else None)


def icon_from_file(path, index):
    """The RT_ICON bytes of a .pix or .ico file."""
    if extension(path) == ".ico":
        return icon_file_picture(path, index)
    return icon_dib(read_pix(path))


def cursor_from_file(path, index):
    """The double-height DIB of a .pix or .cur file's cursor, its hot spot (the file's own; (0, 0)
    for a .pix file) and its width and height."""
    if extension(path) == ".cur":
        dib, hot_spot = cursor_file_picture(path, index)
        width, double_height = dib_size(path, dib)
        return dib, hot_spot, (width, double_height // 2)
    picture = read_pix(path)
    return icon_dib(picture), (0, 0), (picture.width, picture.height)
