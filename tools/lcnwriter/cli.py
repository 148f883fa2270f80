"""Command line of the document writer.

    lcnwriter build DESCRIPTION.json OUTDIR   the files of one document
    lcnwriter reference OUTDIR                the reference set and its manifest
    lcnwriter damage SOURCE OUTDIR [--seed N] [--count N] [--objects]
                                              damaged variants of a document (SOURCE: a
                                              description file or a reference-set name);
                                              --objects: every damage of its object lists
    lcnwriter check FILE [--base N --length N]
                                              the record file checker; a whole document
                                              may carry its companions after its data
    lcnwriter objects DESCRIPTION.json OUTFILE [DESCRIPTION.json OUTFILE ...]
                                              the object list of a page record alone, or a
                                              text frame's saved object block (see README)
    lcnwriter page DESCRIPTION.json OUTFILE [DESCRIPTION.json OUTFILE ...]
                                              the record of one described page alone (rows,
                                              tables, objects, keywords, relations, style)
    lcnwriter table DESCRIPTION.json OUTFILE [DESCRIPTION.json OUTFILE ...]
                                              a table's stored form alone, optionally with
                                              named fields patched or cut short (see README)
"""

import argparse
import json
import os
import sys

from . import checker, damage, document, page, reference, vazazi


def _build(a):
    with open(a.description, encoding="utf-8") as f:
        d = json.load(f)
    wrong = document.problems(d)
    if wrong:
        raise ValueError("the description is inconsistent:\n  " + "\n  ".join(wrong))
    doc = document.build(d, os.path.dirname(os.path.abspath(a.description)))
    document.write(doc, a.outdir)
    for name, data in doc.files.items():
        print("%s %d" % (name, len(data)))
    return 0


def _reference(a):
    m = reference.make(a.outdir)
    print("%d record files in %s" % (len(m["files"]), a.outdir))
    return 0


def _damage(a):
    made = damage.write_variants(a.source, a.outdir, a.seed, a.count, a.objects)
    print("%d damaged variants in %s" % (len(made), a.outdir))
    return 0


def _write_pairs(command, pairs, make):
    """Each description file of the pairs made into bytes by make and written to its output file."""
    if len(pairs) % 2:
        raise ValueError("%s takes pairs of a description and an output file" % command)
    for description, outfile in zip(pairs[::2], pairs[1::2]):
        with open(description, encoding="utf-8") as f:
            data = make(json.load(f))
        with open(outfile, "wb") as f:
            f.write(data)
        print("%s %d" % (outfile, len(data)))
    return 0


def _objects(a):
    return _write_pairs("objects", a.pairs, page.objects_file)


def _page(a):
    return _write_pairs("page", a.pairs, lambda d: page.page_record(d).bytes())


def _table(a):
    return _write_pairs("table", a.pairs, page.table_file)


def _check(a):
    problems = checker.check(a.file, a.base, a.length)
    print("\n".join(problems) if problems else "ok")
    return 1 if problems else 0


def main(argv=None):
    ap = argparse.ArgumentParser(prog="lcnwriter", description="reader document writer")
    sub = ap.add_subparsers(dest="cmd", required=True)
    b = sub.add_parser("build", help="the files of one described document")
    b.add_argument("description")
    b.add_argument("outdir")
    sub.add_parser("reference", help="the reference set").add_argument("outdir")
    d = sub.add_parser("damage", help="damaged variants of a document, from a seed")
    d.add_argument("source")
    d.add_argument("outdir")
    d.add_argument("--seed", type=int, default=1)
    d.add_argument("--count", type=int, default=20)
    d.add_argument("--objects", action="store_true", help="every damage of the object lists instead")
    c = sub.add_parser("check", help="check a record file")
    c.add_argument("file")
    c.add_argument("--base", type=lambda s: int(s, 0), default=0)
    c.add_argument("--length", type=lambda s: int(s, 0), default=None)
    o = sub.add_parser("objects", help="a page's object list or a saved object block alone")
    o.add_argument("pairs", nargs="+", metavar="DESCRIPTION.json OUTFILE")
    g = sub.add_parser("page", help="the record of one described page alone")
    g.add_argument("pairs", nargs="+", metavar="DESCRIPTION.json OUTFILE")
    t = sub.add_parser("table", help="a table's stored form alone")
    t.add_argument("pairs", nargs="+", metavar="DESCRIPTION.json OUTFILE")
    a = ap.parse_args(argv)
    try:
        return {"build": _build, "reference": _reference, "damage": _damage, "check": _check,
                "objects": _objects, "page": _page, "table": _table}[a.cmd](a)
    except (OSError, ValueError, KeyError, vazazi.VazaziError) as e:
        print("lcnwriter: %s" % e, file=sys.stderr)
        return 2
