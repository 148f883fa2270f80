"""The page style: its members with their defaults, and its file form in every
version (5 current; 2-4 drop later groups; 0 and 1 the old presence-byte form).
"""

from .fields import Buf

DEFAULTS = {
    "flags": 0, "width": 400, "height": 0,
    "leftMargin": 10, "rightMargin": 10, "topMargin": 10, "bottomMargin": 10,
    "backColour": 15, "widthMode": 0, "legacyColoursPresent": 0,
    "contentsList": 0, "contentsParam1": 1, "contentsParam2": 0, "contentsParam3": 2,
    "contentsParam4": 0,
    "bannerOn": 0, "bannerStyle": 0, "soundIndex": -1, "soundMode": 1,
    "backPicture": -1, "backPictureMode": 1, "option80": 0, "noSearch": 0,
    "option200": 0, "option400": 0, "value200a": 0, "value200b": 0,
    "value400a": 200, "value400b": 200, "option800a": 1, "option800b": 1, "value800": 0,
    "pageLinks": [(-1, 0), (-1, 0), (-1, 0)],
    "timedPage": -1, "timedLink": 0, "timedTicks": 10, "templatePage": -1,
}
NO_TEMPLATE = 0x1


def style(values=None):
    """A full style: the defaults overridden by values (unknown names refused)."""
    values = values or {}
    unknown = set(values) - set(DEFAULTS)
    if unknown:
        raise ValueError("unknown page style fields %s" % sorted(unknown))
    s = dict(DEFAULTS)
    s.update(values)
    return s


def _layout(b, s):
    b.u8(s["widthMode"]).u16(s["width"]).u16(s["height"])
    for m in ("leftMargin", "rightMargin", "topMargin", "bottomMargin"):
        b.u16(s[m])


def _contents(b, s):
    # Stored in the order list flag, 1, 3, 4, 2.
    for f in ("contentsList", "contentsParam1", "contentsParam3", "contentsParam4",
              "contentsParam2"):
        b.u8(s[f])


def file_form(values=None, version=5):
    """The page style as a page record stores it: byte version, then the groups
    that flags announces (versions 2-5), or the old form (versions 0 and 1)."""
    s = style(values)
    if version < 2:
        return _old_form(s, version)
    f = s["flags"]
    b = Buf().u8(version).u16(f, "style.flags")
    if f & 0x2:
        _layout(b, s)
    if f & 0x4:
        b.u8(s["backColour"])
    if f & 0x8:
        b.u16(s["backPicture"]).u8(s["backPictureMode"])
    if f & 0x10:
        _contents(b, s)
    if f & 0x20:
        b.u8(s["bannerOn"]).u8(s["bannerStyle"])
    if f & 0x40:
        b.u16(s["soundIndex"]).u8(s["soundMode"])
    if version >= 3 and f & 0x80:
        b.u8(s["option80"])
    if version >= 4:
        if f & 0x100:
            b.u8(s["noSearch"])
        if f & 0x200:
            b.u8(s["option200"]).u16(s["value200a"]).u16(s["value200b"])
        if f & 0x400:
            b.u8(s["option400"]).u16(s["value400a"]).u16(s["value400b"])
        if f & 0x800:
            b.u8(s["option800a"])
            if version >= 5:
                b.u8(s["option800b"]).u16(s["value800"])
        if f & 0x1000:
            for page, link in s["pageLinks"]:
                b.u16(page).u8(link)
        if f & 0x2000:
            b.u16(s["timedPage"]).u8(s["timedLink"]).u16(s["timedTicks"])
    if not f & NO_TEMPLATE:
        b.u16(s["templatePage"])
    return b


def _old_form(s, version):
    """Versions 0 and 1: a presence byte before the layout and colour, 255 for
    an absent contents or banner group.  flags chooses what is present."""
    f = s["flags"]
    b = Buf().u8(version)
    if f & 0x2:
        b.u8(1)
        _layout(b, s)
        b.u8(s["backColour"] if f & 0x4 else 255)
    else:
        b.u8(0)
    if f & 0x10:
        _contents(b, s)
    else:
        b.u8(255)
    if f & 0x20:
        b.u8(s["bannerOn"]).u8(s["bannerStyle"])
        if version == 1:
            b.u16(s["soundIndex"]).u8(s["soundMode"])
    else:
        b.u8(255)
    return b
