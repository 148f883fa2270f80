"""Command line of the drawing writer.

    lkdwriter build DESCRIPTION.json OUT.LKD [--dump OUT.txt] [--layers OUT.txt] [--dir WINDIR]
                    [--pictures HOSTDIR]
                        the drawing file, and the entity dump a load must show; "{DIR}" in the
                        description's texts becomes WINDIR; image pictures go to HOSTDIR; a
                        description with "layer_names" also gets its side file OUT.LKL, and
                        --layers writes the names the batch runner must list from it
    lkdwriter damage DESCRIPTION.json OUTDIR
                        damaged variants NAME.LKD and a list "NAME STATUS" in OUTDIR/statuses.txt
    lkdwriter pcx WIDTH HEIGHT OUT.PCX
                        a 1-bit run-length picture
"""

import argparse
import json
import os

from . import damage, drawing, dump, layer_names, pcx


def _read(path, folder=""):
    """The description, "{DIR}" in its texts replaced by 'folder' (a Windows folder with its
    backslash), so file names can point where the files are written."""
    with open(path, encoding="utf-8") as f:
        text = f.read()
    return json.loads(text.replace("{DIR}", folder.replace("\\", "\\\\")))


def _write_pictures(d, host_folder):
    """The PCX pictures image entities ask for ("pcx": [width, height]), under their base names."""
    for e in d.get("entities", []):
        if e["kind"] == "image" and "pcx" in e:
            name = e["file"].replace("\\", "/").split("/")[-1]
            with open(os.path.join(host_folder, name), "wb") as f:
                f.write(pcx.pcx_1bit(*e["pcx"]))


def main(argv=None):
    parser = argparse.ArgumentParser(prog="lkdwriter")
    sub = parser.add_subparsers(dest="command", required=True)
    b = sub.add_parser("build")
    b.add_argument("description")
    b.add_argument("out")
    b.add_argument("--dump")
    b.add_argument("--layers", help="the layer names the batch runner must list")
    b.add_argument("--dir", default="", help="replaces {DIR} in the description's texts")
    b.add_argument("--pictures", help="host folder the PCX pictures are written to")
    dm = sub.add_parser("damage")
    dm.add_argument("description")
    dm.add_argument("outdir")
    p = sub.add_parser("pcx")
    p.add_argument("width", type=int)
    p.add_argument("height", type=int)
    p.add_argument("out")
    a = parser.parse_args(argv)
    if a.command == "build":
        d = _read(a.description, a.dir)
        if a.pictures:
            _write_pictures(d, a.pictures)
        with open(a.out, "wb") as f:
            f.write(drawing.build(d))
        if a.dump:
            with open(a.dump, "w", encoding="cp1250", newline="\n") as f:
                f.write(dump.dump(d))
        names = d.get("layer_names", {})
        if names:
            with open(layer_names.side_file_name(a.out), "wb") as f:
                f.write(layer_names.records(names))
        if a.layers:
            with open(a.layers, "w", encoding="cp1250", newline="\n") as f:
                f.write(layer_names.listing(names))
    elif a.command == "damage":
        os.makedirs(a.outdir, exist_ok=True)
        lines = []
        for name, (data, status) in sorted(damage.variants(_read(a.description)).items()):
            with open(os.path.join(a.outdir, name + ".LKD"), "wb") as f:
                f.write(data)
            lines.append("%s %d\n" % (name, status))
        with open(os.path.join(a.outdir, "statuses.txt"), "w") as f:
            f.writelines(lines)
    elif a.command == "pcx":
        with open(a.out, "wb") as f:
            f.write(pcx.pcx_1bit(a.width, a.height))
    return 0
