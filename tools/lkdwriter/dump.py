"""The entity dump the program shows for a description once loaded into an empty drawing: block
definitions in file order with their members, then the entities in file order. Levels are not
kept by a load (they show as 0 and are left out), 3-D polylines are dropped, the highlight and
temporary flags are cleared."""

from . import pcx
from .dump_numbers import number


def _pair(values):
    return "(" + ",".join(number(v) for v in values) + ")"


def _quoted(text):
    return '"' + text + '"'


def kind_name(e):
    k = e["kind"]
    if k == "polyline":
        n = len(e["vertices"])
        return "point" if n == 1 else "line" if n == 2 else "polyline"
    if k == "arc":
        return "circle" if list(e["start"]) == list(e["end"]) else "arc"
    return k


def _text_fields(e):
    return (" at=%s height=%s charwidth=%s angle=%s justify=%d" %
            (_pair(e["at"]), number(e.get("height", 1)), number(e.get("charwidth", 1)),
             number(e.get("angle", 0)), e.get("justify", 0)))


def polyline_style(e):
    """The style byte after the load's fixes: line type 7 of a polyline becomes 1."""
    style = e.get("style", 0)
    if len(e["vertices"]) > 1 and style & 7 == 7:
        style &= ~0x06
    return style


def loaded_flags(e):
    """A loaded image's flags: the caller's high byte, the low byte from its PCX picture."""
    return (e.get("flags16", 0) & 0xFF00) | pcx.LOADED_FORMAT


def line(e):
    k = e["kind"]
    flags = e.get("flags", 0) & 0x0C
    out = "%s flags=0x%02X layer=%d colour=%d width=%d" % (kind_name(e), flags, e.get("layer", 0),
                                                         e.get("colour", 0), e.get("width", 0))
    if k == "polyline":
        out += " aux=%s end=%d style=%d vertices=%d" % (number(e.get("aux", 0)), e.get("end", 0),
                                                        polyline_style(e), len(e["vertices"]))
        out += "".join(" " + _pair(v) for v in e["vertices"])
    elif k == "arc":
        kind_type = e.get("type", 0)
        out += " centre=%s start=%s end=%s type=%d" % (_pair(e["centre"]), _pair(e["start"]), _pair(e["end"]),
                                                      1 if kind_type > 6 else kind_type)
    elif k == "text":
        out += _text_fields(e) + " text=" + _quoted(e["text"])
    elif k == "attdef":
        out += _text_fields(e) + ' tag="%s" default="%s" prompt="%s" flags=0x%04X' % (
            e.get("tag", ""), e.get("default", ""), e.get("prompt", ""), e.get("flags16", 0))
    elif k == "dimension":
        for i, p in enumerate(e["points"]):
            out += " p%d=%s" % (i + 1, _pair(p))
        out += " value=%s style=%d text=%s" % (number(e.get("value", 0)), e.get("style", 0),
                                               _quoted(e.get("text", "")))
    elif k == "insert":
        attributes = e.get("attributes", [])
        out += " block=%s at=%s scale=%s angle=%s display=%d attributes=%d" % (
            _quoted(e["block"]), _pair(e["at"]), _pair(e.get("scale", [1, 1])), number(e.get("angle", 0)),
            e.get("display", 0), len(attributes))
        for a in attributes:
            out += " position=%s %s" % (_pair(a["position"]), _quoted(a["value"]))
    elif k == "reference":
        out += " at=%s scale=%s angle=%s file=%s" % (_pair(e["at"]), _pair(e.get("scale", [1, 1])),
                                                     number(e.get("angle", 0)), _quoted(e["file"]))
    elif k == "image":
        out += " at=%s pixel=%s last=%d,%d flags=0x%04X file=%s" % (
            _pair(e["at"]), _pair(e["pixel"]), e["last"][0], e["last"][1], loaded_flags(e),
            _quoted(e["file"]))
    return out


def dump(description):
    out = []
    for block in description.get("blocks", []):
        out.append("block %s base=%s" % (_quoted(block["name"]), _pair(block.get("base", [0, 0]))))
        out += ["  " + line(e) for e in block.get("entities", []) if e["kind"] != "polyline3d"]
    out += [line(e) for e in description.get("entities", []) if e["kind"] != "polyline3d"]
    return "".join(s + "\n" for s in out)
