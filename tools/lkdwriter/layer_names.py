"""The layer-name side file "<drawing>.LKL": 256 records of 128 bytes, record n naming layer n in
cp1250 with at most 127 bytes, the 128th byte always 0 (a record without it names nothing)."""

RECORD = 128
LAYERS = 256


def side_file_name(drawing_path):
    """The drawing's name with the extension ".LKL" (the dot searched in the file name only)."""
    head, sep, tail = drawing_path.replace("\\", "/").rpartition("/")
    stem = tail.rsplit(".", 1)[0] if "." in tail else tail
    return drawing_path[:len(head) + len(sep)] + stem + ".LKL"


def records(names):
    """The side file's bytes for {layer: name}; a layer out of 0..255 or a name longer than 127
    bytes is refused, not cut, so a description cannot silently lose part of a name."""
    out = bytearray(RECORD * LAYERS)
    for layer, name in names.items():
        layer = int(layer)
        data = name.encode("cp1250")
        if not 0 <= layer < LAYERS:
            raise ValueError("layer %d is not one of 0..255" % layer)
        if len(data) > RECORD - 1:
            raise ValueError("the name of layer %d has %d bytes; at most %d fit" % (layer, len(data), RECORD - 1))
        out[layer * RECORD:layer * RECORD + len(data)] = data
    return bytes(out)


def listing(names):
    """What the batch runner prints for the side file: "layer N: NAME" for each named layer, in
    layer order (names are shown without blanks at their ends, as the program reads them)."""
    lines = []
    for layer in sorted(int(k) for k in names):
        name = names[str(layer)] if str(layer) in names else names[layer]
        shown = name.strip(" \t\r\n")
        if shown:
            lines.append("layer %d: %s\n" % (layer, shown))
    return "".join(lines)
