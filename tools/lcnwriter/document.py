"""A document description turned into files: the .lcn record file and its
companions (.lpx picture store, .lnx embedded files, .lnf embedded fonts),
beside the document or appended inside it and named by record type 14.

The description is a dict (the JSON of the README); `build` returns a
`Document` with the bytes of every file and the facts of every record file
in it, so tests can check what the reader finds against what was asked for.
"""

import os
from dataclasses import dataclass, field

from . import media, page, records, vazazi, viewsettings
from .fields import Buf

COMPANION_EXTENSIONS = {"pictureStore": "lpx", "embeddedFiles": "lnx", "embeddedFonts": "lnf",
                        "keywordIndex": "lix"}
INSIDE_ENTRIES = {"pictureStore": 1, "embeddedFiles": 2, "keywordIndex": 3}


@dataclass
class Container:
    """One record file inside the output: the file it lies in, where, and how it was built."""
    file: str
    base: int
    built: vazazi.Built
    role: str


@dataclass
class Document:
    files: dict = field(default_factory=dict)       # file name -> bytes
    containers: list = field(default_factory=list)  # Container
    pages: dict = field(default_factory=dict)       # page number -> Buf (marks for damage)
    typed: dict = field(default_factory=dict)       # (1, slot) -> Buf of an encoded typed record


def _drawn(spec):
    """A picture or sound made here: {"draw": "png" | "gif" | "wav", ...}."""
    width, height = spec.get("width", 32), spec.get("height", 24)
    if spec["draw"] == "png":
        c = spec.get("colour", [40, 90, 200])
        return media.png(width, height, lambda x, y: (
            c[0] * x // width, c[1] * y // height, c[2] * (x + y) // (width + height)))
    if spec["draw"] == "gif":
        palette = [tuple(c) for c in spec.get("palette", [[0, 0, 0], [255, 255, 255], [200, 30, 30], [30, 160, 60]])]
        frames = [[(x // 4 + y // 4 + n) % len(palette) for y in range(height) for x in range(width)]
                  for n in range(spec.get("frames", 1))]
        return media.gif(width, height, palette, frames, spec.get("transparent"), spec.get("delays"),
                         spec.get("loops"))
    if spec["draw"] == "vector":
        return media.vector(width, height, spec["shapes"])
    if spec["draw"] == "wav":
        return media.wav(spec.get("seconds", 1.0), spec.get("rate", 8000), spec.get("tone", 440))
    raise ValueError("cannot draw %r" % spec["draw"])


def _body(item, folder):
    """Bytes of a stored item: {"hex": ...}, {"file": path}, {"text": ...},
    {"draw": ...} or bytes."""
    if isinstance(item, (bytes, bytearray)):
        return bytes(item)
    if "draw" in item:
        return _drawn(item)
    if "hex" in item:
        return bytes.fromhex(item["hex"])
    if "file" in item:
        with open(os.path.join(folder, item["file"]), "rb") as f:
            return f.read()
    if "text" in item:
        return item["text"].encode("cp1250")
    raise ValueError("a stored item needs hex, file or text: %r" % (item,))


class Records(dict):
    """{(table, index): RecordDef}, and the encoders' Bufs of them (with their marks)."""

    def __init__(self):
        super().__init__()
        self.bufs = {}


def _typed(out, record_type, body, version=1, compressed=0, sub_index=0):
    key = (1, records.slot(record_type, sub_index))
    if isinstance(body, Buf):
        out.bufs[key] = body
    data = body.bytes() if isinstance(body, Buf) else bytes(body)
    out[key] = vazazi.RecordDef(data, compressed, version)


def _tables(d, out):
    """File name tables 4, 10, 11 and the embedded-file tables 9."""
    for key, record_type in (("pictures", 4), ("sounds", 10), ("videos", 11)):
        if key in d:
            items = [p if isinstance(p, dict) else {"path": p} for p in d[key]]
            _typed(out, record_type, records.file_table([i["path"] for i in items],
                                                         [i.get("tag", 0) for i in items]))
    if "fileTables" in d:
        t = dict(d["fileTables"])
        version = t.pop("version", 2)
        _typed(out, 9, records.file_tables(version=version, **t), version)


def _navigation(d, out):
    """Contents tree (1), linked documents (2), tree appearance (12), search areas (13)."""
    if "contents" in d:
        c = d["contents"]
        version = c.get("version", 6)
        appearance = c.get("appearance")
        if appearance:
            appearance = (appearance["treeFont"], appearance["levels"], appearance.get("rowSpacing", 1))
        _typed(out, 1, records.contents_tree(c["items"], version, appearance), version)
    if "links" in d:
        _typed(out, 2, records.linked_documents(d["links"]))
    if "viewSettings" in d:
        v = dict(d["viewSettings"])
        version = v.pop("version", 5)
        _typed(out, 12, viewsettings.record(v, version), max(version, 2))
    elif "appearance" in d:
        a = d["appearance"]
        _typed(out, 12, records.tree_appearance(a["treeFont"], a["levels"], a.get("rowSpacing", 1),
                                                a.get("colours")), 1)
    if "searchAreas" in d:
        a = d["searchAreas"]
        version = a.get("version", 2)
        pages = {int(k): v for k, v in a.get("pages", {}).items()}
        _typed(out, 13, records.search_areas(a["names"], pages, a.get("extra", 0), version), version)


def typed_records(d):
    """Every typed record the description asks for: {(1, slot): RecordDef}."""
    out = Records()
    for n, body in records.string_blocks({int(k): v for k, v in d.get("names", {}).items()}).items():
        _typed(out, 0, body, sub_index=n)
    if "properties" in d or "pageDefaults" in d:
        props = dict(d.get("properties", {}))
        if d.get("compressPages"):
            props.setdefault("compressRecords", 1)
        version = props.pop("version", 10)
        _typed(out, 3, records.properties(props, d.get("pageDefaults"), version), version)
    if "styles" in d:
        s = d["styles"]
        styles = {int(k): v for k, v in s["styles"].items()}
        tabs = {int(k): v for k, v in s.get("tabs", {}).items()}
        _typed(out, 5, records.style_sheet(styles, tabs), s.get("version", 2))
    if "colours" in d:
        _typed(out, 6, records.colour_table(d["colours"]))
    if "fonts" in d:
        f = d["fonts"]
        version = f.get("version", 3)
        _typed(out, 7, records.font_table(f["main"], f.get("markers"), version), version)
    _tables(d, out)
    _navigation(d, out)
    for r in d.get("records", []):
        _typed(out, r["type"], bytes.fromhex(r["hex"]), r.get("version", 1),
               r.get("compressed", 0), r.get("subIndex", 0))
    return out


def page_records(d):
    """{page number: Buf} and the numbered records of them."""
    bufs, out = {}, {}
    compress = 1 if d.get("compressPages") else 0
    for n, p in enumerate(d.get("pages", [])):
        number = p.get("number", n)
        bufs[number] = page.page_record(p)
        out[(2, number)] = vazazi.RecordDef(bufs[number].bytes(), compress, p.get("version", 1))
    return bufs, out


def store(items, folder):
    """A companion store: numbered record n - 1 holds item n, stored plain."""
    return vazazi.build({(2, i): vazazi.RecordDef(_body(item, folder))
                         for i, item in enumerate(items)})


def keyword_index(groups):
    """The .lix file: numbered record n holds term group n; a flat list of
    {"term", "pages"} is one group."""
    if groups and isinstance(groups[0], dict):
        groups = [groups]
    return vazazi.build({(2, n): vazazi.RecordDef(records.keyword_group(
        [(t["term"], t["pages"]) for t in group]).bytes()) for n, group in enumerate(groups)})


def font_store(spec, folder):
    """The .lnf file: the embedded-font table as record type 7 and the font files."""
    version = spec.get("version", 2)
    recs = {(1, records.slot(7)): vazazi.RecordDef(
        records.embedded_font_table(spec["fonts"], version).bytes(), 0, version)}
    for i, item in enumerate(spec.get("files", [])):
        recs[(2, i)] = vazazi.RecordDef(_body(item, folder))
    return vazazi.build(recs)


def package(d):
    """A package (.lnp): a record file whose record type 2 lists its documents."""
    built = vazazi.build({(1, records.slot(2)): vazazi.RecordDef(
        records.linked_documents(d["documents"]).bytes())}, title=d.get("title", ""))
    return Document(files={d["name"] + ".lnp": built.data},
                    containers=[Container(d["name"] + ".lnp", 0, built, "package")])


def build(d, folder="."):
    """All files of a document (or, with "package" set, package) description."""
    if d.get("package"):
        return package(d)
    name = d["name"]
    typed = typed_records(d)
    bufs, numbered = page_records(d)
    companions = {}
    for key in ("pictureStore", "embeddedFiles"):
        if key in d:
            companions[key] = store(d[key], folder)
    if "embeddedFonts" in d:
        companions["embeddedFonts"] = font_store(d["embeddedFonts"], folder)
    if "keywordIndex" in d:
        companions["keywordIndex"] = keyword_index(d["keywordIndex"])
    doc = Document(pages=bufs, typed=typed.bufs)
    inside = [k for k in companions if d.get("inside") and k in INSIDE_ENTRIES]
    title = d.get("title", "")
    if inside:
        typed_with_14 = _inside_table(typed, numbered, title, companions, inside)
        built = vazazi.build(typed_with_14 | numbered, title=title)
        data = bytearray(built.data)
        for key in inside:
            doc.containers.append(Container(name + ".lcn", len(data), companions[key], key))
            data += companions[key].data
        doc.files[name + ".lcn"] = bytes(data)
    else:
        built = vazazi.build(typed | numbered, title=title)
        doc.files[name + ".lcn"] = built.data
    doc.containers.insert(0, Container(name + ".lcn", 0, built, "document"))
    for key, container in companions.items():
        if key in inside:
            continue
        file_name = name + "." + COMPANION_EXTENSIONS[key]
        doc.files[file_name] = container.data
        doc.containers.append(Container(file_name, 0, container, key))
    return doc


def _inside_table(typed, numbered, title, companions, inside):
    """Typed records with record 14 naming the appended containers.  The
    record's size does not depend on the bases, so one trial build fixes where
    the document ends."""
    count = max(INSIDE_ENTRIES[k] for k in inside) + 1

    def with_entries(base):
        entries = [(0, 0)] * count
        offset = base
        for key in inside:
            entries[INSIDE_ENTRIES[key]] = (offset, len(companions[key].data))
            offset += len(companions[key].data)
        out = Records()
        out.update(typed)
        out.bufs = typed.bufs
        _typed(out, 14, records.companions(entries))
        return out

    trial = vazazi.build(with_entries(0) | numbered, title=title)
    return with_entries(len(trial.data))


def write(doc, directory):
    os.makedirs(directory, exist_ok=True)
    for file_name, data in doc.files.items():
        with open(os.path.join(directory, file_name), "wb") as f:
            f.write(data)


def facts(doc):
    """Manifest entries (the record-file tool's form) of every container."""
    out = []
    for c in doc.containers:
        own = c.base == 0 and len(doc.files[c.file]) == len(c.built.data)
        entry = {"name": c.file, "base": c.base, "length": len(c.built.data), "own_file": own,
                 "description": c.role}
        entry.update(vazazi.built_facts(c.built))
        out.append(entry)
    return out


def _links_in(runs):
    if isinstance(runs, (str, bytes)):
        return
    for run in runs:
        if isinstance(run, dict) and "link" in run:
            yield run["link"]
            yield from _links_in(run.get("text", []))


def _rows_of(p):
    for r in p.get("rows", []):
        yield r
        for cell in (r.get("table") or {}).get("cells", []):
            yield from cell.get("rows", [{"text": cell.get("text", "")}])
    for o in p.get("objects", []):
        yield from o.get("rows", [])


def problems(d):
    """What in a description names something the document does not hold:
    page links (to this document) to missing pages, pictures and sounds beyond
    their tables, stored items beyond their store, index and contents pages."""
    if d.get("package"):
        return []
    pages = {p.get("number", n) for n, p in enumerate(d.get("pages", []))}
    out = []

    def page_ok(page, where):
        if page not in pages:
            out.append("%s names page %d, which the document does not hold" % (where, page))

    for n, p in enumerate(d.get("pages", [])):
        number = p.get("number", n)
        for r in _rows_of(p):
            for link in _links_in(r.get("text", [])):
                if link["kind"] in (2, 3) and not link.get("link"):
                    page_ok(link.get("page", 0), "a link on page %d" % number)
        for o in p.get("objects", []):
            table = "sounds" if o.get("kind") == "sound" else "videos" if o.get("kind") == "video" else "pictures"
            if o.get("picture", -1) >= len(d.get(table, [])):
                out.append("an object on page %d names entry %d of %s" % (number, o["picture"], table))
        if (p.get("style") or {}).get("soundIndex", -1) >= len(d.get("sounds", [])):
            out.append("the style of page %d names a missing sound" % number)
    for table, store in (("pictures", "pictureStore"), ("sounds", "embeddedFiles"),
                         ("videos", "embeddedFiles")):
        for entry in d.get(table, []):
            tag = entry.get("tag", 0) if isinstance(entry, dict) else 0
            if tag > len(d.get(store, [])):
                out.append("%s entry %s is stored as item %d, beyond %s" % (table, entry["path"], tag, store))
    index = d.get("keywordIndex", [])
    for group in ([index] if index and isinstance(index[0], dict) else index):
        for term in group:
            for page_number in term["pages"]:
                page_ok(page_number, "index term %r" % term["term"])

    def walk(items):
        for item in items:
            if item.get("page", -1) >= 0:
                page_ok(item["page"], "contents item %r" % item["text"])
            walk(item.get("children", []))

    walk((d.get("contents") or {}).get("items", []))
    return out
