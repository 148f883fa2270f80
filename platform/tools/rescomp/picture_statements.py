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

The parsers take the compiler's token stream and its table of resources and know them only by the
calls they make on them.
"""

import os

import pix

RT_CURSOR, RT_BITMAP, RT_ICON = 1, 2, 3
MAX_ID = 65535

ACCEPTED = {
    "BITMAP": (".pix", ".bmp"),
    "CURSOR": (".pix", ".cur"),
    "ICON": (".pix", ".ico"),
}


def parse_resource_name(stream, what):
    """An id (a number) or a quoted name; the table checks both."""
    token = stream.next()
    if token.kind == "number":
        if not 0 <= token.value <= MAX_ID:
            raise stream.error(token, f"{what} id {token.value} is outside 0..{MAX_ID}")
        return token.value
    if token.kind == "string":
        return token.value
    raise stream.error(token, f"expected the {what}'s id or quoted name, found {token.describe()}")


def parse_picture_file(stream, statement):
    """The picture file's path, relative to the resource file, with an extension the statement
    takes."""
    token = stream.next()
    if token.kind not in ("word", "string"):
        raise stream.error(token, f"expected the {statement} file's path, found {token.describe()}")
    path = os.path.join(os.path.dirname(stream.path), token.value)
    accepted = ACCEPTED[statement]
    if pix.extension(path) not in accepted:
        raise stream.error(token, f"{statement} reads a {' or '.join(accepted)} file, not '{token.value}'")
    return path, token


def parse_count(stream, what, high):
    token = stream.expect("number", what)
    if not 0 <= token.value <= high:
        raise stream.error(token, f"{what} {token.value} is outside 0..{high}")
    return token.value


def parse_options(stream, allowed):
    """The optional keywords after the file, each once, in any order: their values by keyword."""
    options = {}
    while stream.peek().kind == "word" and stream.peek().value in allowed:
        token = stream.next()
        if token.value in options:
            raise stream.error(token, f"{token.value} is given twice")
        options[token.value] = (allowed[token.value](stream), token)
    return options


def read_picture(stream, token, read):
    """Runs a picture reader; problems of a binary file, which has no lines, are reported at the
    statement that names it."""
    try:
        return read()
    except pix.PictureError as e:
        if e.line:
            raise
        raise stream.error(token, f"{os.path.basename(e.path)}: {e.message}") from None


def parse_bitmap(stream, start, resources):
    name = parse_resource_name(stream, "bitmap")
    path, file_token = parse_picture_file(stream, "BITMAP")
    options = parse_options(stream, {"MASK": lambda s: parse_resource_name(s, "mask")})
    resources.add_dependency(path)
    dib, mask = read_picture(stream, file_token, lambda: pix.bitmap_from_file(path))
    resources.add_binary(stream.path, start.line, RT_BITMAP, name, dib)
    if "MASK" in options:
        mask_name, mask_token = options["MASK"]
        if mask is None:
            raise stream.error(mask_token, "MASK needs a .pix picture with a 'transparent' letter")
        resources.add_binary(stream.path, mask_token.line, RT_BITMAP, mask_name, mask)


def parse_index(stream):
    return parse_count(stream, "picture index", MAX_ID)


def parse_hot_spot(stream):
    return (parse_count(stream, "hot spot x", MAX_ID), parse_count(stream, "hot spot y", MAX_ID))


def picture_index(stream, options, path):
    """The INDEX asked for, None when none is; only files of several pictures take one."""
    if "INDEX" not in options:
        return None
    index, token = options["INDEX"]
    if pix.extension(path) == ".pix":
        raise stream.error(token, "INDEX picks a picture of a .cur or .ico file; a .pix file holds one")
    return index


def parse_cursor(stream, start, resources):
    name = parse_resource_name(stream, "cursor")
    path, file_token = parse_picture_file(stream, "CURSOR")
    options = parse_options(stream, {"INDEX": parse_index, "HOTSPOT": parse_hot_spot})
    index = picture_index(stream, options, path)
    resources.add_dependency(path)
    dib, hot_spot, (width, height) = read_picture(stream, file_token, lambda: pix.cursor_from_file(path, index))
    hot_spot, hot_token = options.get("HOTSPOT", (hot_spot, file_token))
    if hot_spot[0] >= width or hot_spot[1] >= height:
        raise stream.error(hot_token, f"hot spot {hot_spot[0]} {hot_spot[1]} lies off the picture of {width} x {height}")
    resources.add_binary(stream.path, start.line, RT_CURSOR, name, pix.cursor_resource(hot_spot, dib))


def parse_icon(stream, start, resources):
    name = parse_resource_name(stream, "icon")
    path, file_token = parse_picture_file(stream, "ICON")
    options = parse_options(stream, {"INDEX": parse_index})
    index = picture_index(stream, options, path)
    resources.add_dependency(path)
    dib = read_picture(stream, file_token, lambda: pix.icon_from_file(path, index))
    resources.add_binary(stream.path, start.line, RT_ICON, name, dib)


STATEMENTS = {
    "BITMAP": parse_bitmap,
    "CURSOR": parse_cursor,
    "ICON": parse_icon,
}
