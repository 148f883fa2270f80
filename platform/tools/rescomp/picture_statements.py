"""The resource compiler's picture statements: bitmaps, cursors and icons drawn in files beside
the resource file.

    BITMAP id|"NAME" file [MASK id|"NAME_T"]
    CURSOR id|"NAME" file [INDEX n] [HOTSPOT x y]
    ICON   id|"NAME" file [INDEX n]

'file' is a path relative to the resource file, bare (art/tree/book_1.pix) or quoted. A bitmap is
drawn in a .pix or .bmp file, a cursor in a .pix or .cur file, an icon in a .pix or .ico file (see
pix.py). MASK stores the AND mask of a .pix picture with a transparent letter as a 1-bit bitmap of
its own (white where the background shows). INDEX picks one picture of a .cur or .ico file that
holds several. HOTSPOT gives the pixel a cursor points with: a .cur file's own hot spot otherwise,
the top left pixel of a .pix picture.

Each statement is one line.
"""

import os

import pix
from syntax import MAX_ID, RT_BITMAP, RT_CURSOR, RT_ICON

ACCEPTED = {
    "BITMAP": (".pix", ".bmp"),
    "CURSOR": (".pix", ".cur"),
    "ICON": (".pix", ".ico"),
}


def picture_file(line, statement):
    """The picture file's path, relative to the resource file, with an extension the statement
    takes."""
    token = line.peek()
    if token is None or token.kind not in ("word", "string"):
        found = "the end of the line" if token is None else token.describe()
        raise line.error(f"expected the {statement} file's path, found {found}")
    line.next()
    accepted = ACCEPTED[statement]
    if pix.extension(token.value) not in accepted:
        raise line.error(f"{statement} reads a {' or '.join(accepted)} file, not '{token.value}'")
    return os.path.join(os.path.dirname(line.path), token.value)


def picture_options(line, allowed):
    """The optional keywords after the file, each once, in any order: their values by keyword."""
    options = {}
    while not line.at_end():
        token = line.expect("word", " or ".join(allowed))
        if token.value not in allowed:
            raise line.error(f"unexpected '{token.value}' (after the file: {', '.join(allowed)})")
        if token.value in options:
            raise line.error(f"{token.value} is given twice")
        options[token.value] = allowed[token.value](line)
    return options


def read_picture(line, read):
    """Runs a picture reader; problems of a binary file, which has no lines, are reported at the
    statement that names it."""
    try:
        return read()
    except pix.PictureError as e:
        if e.line:
            raise
        raise line.error(f"{os.path.basename(e.path)}: {e.message}") from None


def picture_index(line, options, path):
    """The INDEX asked for, None when none is; only files of several pictures take one."""
    if "INDEX" not in options:
        return None
    if pix.extension(path) == ".pix":
        raise line.error("INDEX picks a picture of a .cur or .ico file; a .pix file holds one")
    return options["INDEX"]


def parse_index(line):
    return line.number_in("picture index", 0, MAX_ID)


def parse_hot_spot(line):
    return (line.number_in("hot spot x", 0, MAX_ID), line.number_in("hot spot y", 0, MAX_ID))


def parse_bitmap(stream, start, resources):
    line = stream.rest_of_line(start)
    name = line.resource_name("bitmap")
    path = picture_file(line, "BITMAP")
    options = picture_options(line, {"MASK": lambda rest: rest.resource_name("mask")})
    resources.add_dependency(path)
    dib, mask = read_picture(line, lambda: pix.bitmap_from_file(path))
    resources.add_binary(line.path, line.number, RT_BITMAP, name, dib)
    if "MASK" in options:
        if mask is None:
            raise line.error("MASK needs a .pix picture with a 'transparent' letter")
        resources.add_binary(line.path, line.number, RT_BITMAP, options["MASK"], mask)


def parse_cursor(stream, start, resources):
    line = stream.rest_of_line(start)
    name = line.resource_name("cursor")
    path = picture_file(line, "CURSOR")
    options = picture_options(line, {"INDEX": parse_index, "HOTSPOT": parse_hot_spot})
    index = picture_index(line, options, path)
    resources.add_dependency(path)
    dib, hot_spot, (width, height) = read_picture(line, lambda: pix.cursor_from_file(path, index))
    hot_spot = options.get("HOTSPOT", hot_spot)
    if hot_spot[0] >= width or hot_spot[1] >= height:
        raise line.error(f"hot spot {hot_spot[0]} {hot_spot[1]} lies off the picture of {width} x {height}")
    resources.add_binary(line.path, line.number, RT_CURSOR, name, pix.cursor_resource(hot_spot, dib))


def parse_icon(stream, start, resources):
    line = stream.rest_of_line(start)
    name = line.resource_name("icon")
    path = picture_file(line, "ICON")
    index = picture_index(line, picture_options(line, {"INDEX": parse_index}), path)
    resources.add_dependency(path)
    dib = read_picture(line, lambda: pix.icon_from_file(path, index))
    resources.add_binary(line.path, line.number, RT_ICON, name, dib)


STATEMENTS = {
    "BITMAP": parse_bitmap,
    "CURSOR": parse_cursor,
    "ICON": parse_icon,
}
