"""The reference set: small documents for the reader's tests, each showing one
area (text, styles, tables, pictures, links, media, fonts, containers inside
the document, timed pages, older record versions)."""

import os

from . import document, media, vazazi

DEJAVU = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
PALETTE = [(0, 0, 0), (255, 255, 255), (200, 30, 30), (30, 160, 60)]


def _png():
    return media.png(16, 12, lambda x, y: (x * 15, y * 20, 128))


def _transparent_gif():
    return media.gif(8, 8, PALETTE, [[(x + y) % 4 for y in range(8) for x in range(8)]],
                     transparent=0)


def _animated_gif():
    frames = [[(x + n) % 3 + 1 for y in range(8) for x in range(8)] for n in range(3)]
    return media.gif(8, 8, PALETTE, frames, delays=[10, 20, 30], loops=3)


def _vector():
    return media.vector(40, 30, [
        {"kind": "rectangle", "box": [0, 0, 39, 29], "colour": 0, "fill": 0xC0FFFF},
        {"kind": "ellipse", "box": [5, 5, 35, 25], "pen": 2, "colour": 0x0000FF},
        {"kind": "line", "box": [0, 29, 39, 0]},
        {"kind": "polygon", "points": [[20, 2], [37, 27], [3, 27]], "fill": 0x00FF00}])


def _para(text, style=0, **more):
    return dict(more, style=style, text=text)


def text_only():
    pages = [{"rows": [_para("Strana %d: prostý text bez stylů." % (n + 1)),
                       _para(["Druhý odstavec\tse\ttabulátory.\nNový řádek."])]}
             for n in range(3)]
    return {"name": "text-only", "title": "Jen text", "names": {0: "Úvod", 1: "Druhá", 2: "Třetí"},
            "properties": {"idList": [0, 1, 2], "startPage": 0}, "pages": pages}


STYLES = {
    0: {"name": "Základní text", "key": 0x71, "char": {"font": 1, "size": 11, "weight": 3, "flags": 0},
        "indents": [0, 0, 30, 0], "line": 12, "spacing": [0, 2]},
    3: {"name": "Podnadpis", "key": 0x74, "char": {"font": 1, "size": 12, "weight": 6, "flags": 2},
        "spacing": [8, 6]},
    4: {"name": "Nadpis", "key": 0x75, "char": {"font": 0, "size": 15, "weight": 6, "flags": 0},
        "colours": [3, 255], "shadow": [8, 2, 2], "align": 3, "spacing": [2, 8]},
    6: {"name": "Rámeček", "key": 0x77, "char": {"font": 0, "size": 15, "weight": 6, "flags": 0},
        "colours": [0, 33], "border": [143, 1, 0, 5], "frame": [0, 5, 5], "align": 3},
    9: {"name": "Odrážky", "char": {"font": 1, "size": 11, "weight": 3, "flags": 0},
        "marker": [1, 0, 0x6C, 0, 10, 0, 2], "indents": [20, 0, 0, 20]},
    10: {"name": "Číslování", "char": {"font": 1, "size": 11, "weight": 3, "flags": 0},
         "marker": [2, 0, 0x2E, 0, 12, 0, 0], "indents": [20, 0, 0, 20]},
}


def styled():
    rows = [
        _para("Nadpis stránky", 4),
        _para(["Obyčejný, ", {"char": {"weight": 6}}, "tučný", {"char": {"weight": 3}}, ", ",
               {"char": {"flags": 2}}, "kurzíva", {"char": {"flags": 0}}, ", ",
               {"colours": [2, 255]}, "červený", {"colours": [0, 255]}, " a ",
               {"shadow": [7, 1, 1]}, "stínovaný", {"shadow": [255, 0, 0]}, " text."]),
        _para("Podnadpis s vlastním formátem", 3,
              format={"char": {"font": 0, "size": 14, "weight": 6, "flags": 4},
                      "indents": [10, 10, 0, 0], "spacing": [4, 4]}),
        _para("První položka", 9), _para("Druhá položka", 9),
        _para("Jedna", 10), _para("Dvě", 10),
        _para("Orámovaný odstavec", 6),
        _para(["Sloupec\tvpravo\tna střed\tčíslo 3,14"], 0,
              tabs=[(0, 80), (2, 200), (3, 260), (4, 330)]),
        _para("Odstavec s kotvou", 0, anchor=7),
    ]
    return {"name": "styled", "title": "Styly", "names": {0: "Formátovaný text"},
            "compressPages": True,
            "viewSettings": {"switches": 0x17, "highlight": 0x00FFFF, "treeText": 0x800000},
            "colours": [[0, 0, 0], [0, 0, 128], [255, 0, 0], [0, 128, 128]] + [[200, 200, 200]] * 30,
            "fonts": {"main": [["Arial CE", 238], ["Times New Roman CE", 238]],
                      "markers": [["Wingdings", 2], ["Arial CE", 238]]},
            "styles": {"styles": STYLES, "tabs": {0: [(0, 40), (0, 120)]}},
            "pages": [{"rows": rows, "style": {"flags": 0x6, "width": 500, "backColour": 1}}]}


def table():
    border = [[1, 0], [1, 0], [1, 0], [1, 0]]
    cells = [{"text": "Hlavička A", "background": 3, "borders": border},
             {"text": "Hlavička B + C", "colspan": 2, "borders": [[2, 2]] * 4},
             {"owner": 1, "borders": border},
             {"text": "dole vlevo", "valign": 2, "borders": border},
             {"rows": [{"text": "buňka"}, {"text": ["se ", {"char": {"weight": 6}}, "dvěma řádky"]}],
              "borders": border},
             {"text": "vpravo", "width": 60, "margins": [4, 4, 2, 2], "borders": border}]
    rows = [_para("Tabulka:"), {"table": {"rows": 2, "columns": 3, "cells": cells}},
            _para("Za tabulkou.")]
    return {"name": "table", "title": "Tabulka", "names": {0: "Tabulka"}, "pages": [{"rows": rows}]}


def pictures():
    pics = [{"path": "obrazek.png"}, {"path": "sklad\\ulozeny.png", "tag": 1},
            {"path": "pruhledny.gif", "tag": 2}, {"path": "animace.gif", "tag": 3},
            {"path": "tlacitko1.png", "tag": 1}, {"path": "tlacitko2.gif", "tag": 2},
            {"path": "kresba.wmf", "tag": 4}]
    objs = [{"kind": "picture", "picture": 0, "width": 16, "height": 12, "x": 10, "y": 0},
            {"kind": "picture", "picture": 1, "width": 32, "height": 24, "y": 20,
             "fit": [1, 1000, 0, 1, -1]},
            {"kind": "picture", "picture": 2, "width": 8, "height": 8, "y": 50, "behind": 1},
            {"kind": "picture", "picture": 3, "width": 8, "height": 8, "y": 60,
             "animation": {"delays": [10, 20, 30], "repeats": 3}},
            {"kind": "picture", "picture": 1, "width": 8, "height": 60, "x": 300, "y": 0,
             "link": {"kind": 4, "value": 114}, "scroller": {"track": 60, "thumbLength": 12}},
            {"kind": "button", "picture": 4, "width": 16, "height": 12, "y": 80, "active": 1,
             "states": [4, 5, -1, -1], "link": {"kind": 2, "page": 0}},
            {"kind": "vector", "picture": 6, "width": 40, "height": 30, "y": 100}]
    return {"name": "pictures", "title": "Obrázky", "names": {0: "Obrázky"},
            "pictures": pics,
            "pictureStore": [_png(), _transparent_gif(), _animated_gif(), _vector()],
            "beside": {"obrazek.png": _png()},
            "pages": [{"rows": [_para("Obrázky na stránce.")], "objects": objs,
                       "style": {"flags": 0x8, "backPicture": 0, "backPictureMode": 2}}]}


LINK_KINDS = [{"kind": 0, "page": 1}, {"kind": 1, "page": 2}, {"kind": 2, "page": 1, "position": 3},
              {"kind": 3, "page": 2, "position": 0, "link": 0}, {"kind": 4, "value": 114},
              {"kind": 5}, {"kind": 6}, {"kind": 7}, {"kind": 8}, {"kind": 9},
              {"kind": 10, "value": 0x00010000}, {"kind": 11, "value": 0}, {"kind": 12, "value": 0},
              {"kind": 13, "value": 0}, {"kind": 14, "value": 1},
              {"kind": 15, "page": 1, "position": 2, "word_c": 3, "document": 0},
              {"kind": 16}, {"kind": 17}, {"kind": 18}, {"kind": 19}, {"kind": 20}]
# Kinds whose one-byte body the length table does not count: documents frame them either way.
BODY_FRAMED_KINDS = [{"kind": k, "frame": "body"} for k in list(range(5, 10)) + list(range(16, 21))]


def links():
    rows = [_para(["Odkaz druhu %d: " % l["kind"], {"link": l, "text": "cíl %d" % l["kind"]}])
            for l in LINK_KINDS + BODY_FRAMED_KINDS]
    spot = {"kind": "picture", "picture": 0, "width": 40, "height": 40, "y": 0, "x": 200,
            "hotSpots": [{"box": [0, 0, 20, 20], "link": {"kind": 2, "page": 1}},
                         {"box": [20, 0, 40, 20], "shape": 1, "link": {"kind": 3, "page": 2}},
                         {"box": [0, 20, 40, 40], "points": [[0, 20], [40, 20], [20, 40]],
                          "link": {"kind": 0, "page": 1}}]}
    return {"name": "links", "title": "Odkazy",
            "names": {0: "Odkazy", 1: "Cíl", 2: "#TOOLTIP#Bublina"},
            "pictures": [{"path": "mapa.png", "tag": 1}], "pictureStore": [_png()],
            "fileTables": {"programs": ["c:\\programy\\kalk.exe"], "arguments": ["-x"],
                           "documents": ["dalsi.lcn"], "associated": ["priloha.txt"],
                           "urls": ["http://example.invalid/"]},
            "keywordIndex": [{"term": "odkaz", "pages": [0]}, {"term": "cíl", "pages": [1, 2]}],
            "pages": [{"rows": rows, "objects": [spot], "relations": [[1, 0, 0], [2, 0, 0]],
                       "keywords": [[1, "odkaz"], [7, "kotva"]]},
                      {"rows": [_para("Cílová stránka.", anchor=3)]},
                      {"rows": [_para("Text bubliny.")]}]}


def media_doc():
    sound = {"kind": "sound", "picture": 0, "width": 32, "height": 32, "media": [1, 0, 0]}
    return {"name": "media", "title": "Zvuk", "names": {0: "Zvuk"},
            "sounds": [{"path": "zvuk.wav", "tag": 1}], "embeddedFiles": [media.wav(1.0)],
            "pages": [{"rows": [_para("Stránka se zvukem.")], "objects": [sound],
                       "style": {"flags": 0x40, "soundIndex": 0, "soundMode": 1}}]}


def fonts_doc():
    files = []
    if os.path.exists(DEJAVU):
        with open(DEJAVU, "rb") as f:
            files.append(f.read())
    return {"name": "fonts", "title": "Písma", "names": {0: "Písma"},
            "fonts": {"main": [["Vlastni Sans", 238]], "markers": []},
            "embeddedFonts": {"fonts": [{"font": 0, "weight": 400, "charset": 238, "weightClass": 3}],
                              "files": files},
            "pages": [{"rows": [_para(["Vložené písmo: ", {"char": {"font": 0, "size": 14}}, "Žluťoučký kůň"])]}]}


def inside():
    d = media_doc()
    d.update(name="inside", title="Uvnitř", inside=True,
             pictures=[{"path": "ulozeny.png", "tag": 1}], pictureStore=[_png()],
             keywordIndex=[{"term": "zvuk", "pages": [0]}])
    d["pages"][0]["objects"].append({"kind": "picture", "picture": 0, "width": 16, "height": 12,
                                     "y": 40})
    return d


def timed():
    return {"name": "timed", "title": "Časované", "names": {0: "Začátek", 1: "EXITLECTERN"},
            "pages": [{"rows": [_para("Za chvíli se stránka změní.")],
                       "style": {"flags": 0x2000, "timedPage": 1, "timedTicks": 20}},
                      {"rows": [_para("Konec programu.")],
                       "style": {"flags": 0x2000, "timedPage": 0, "timedTicks": 5}}]}


def old_formats():
    obj = {"kind": "picture", "picture": 0, "width": 10, "height": 10, "fit": [0, 1000, 0, 1, -1],
           "active": 1, "link": {"kind": 2, "page": 1},
           "hotSpots": [{"box": [0, 0, 5, 5], "link": {"kind": 0, "page": 1}}]}
    button = {"kind": "button", "picture": 0, "width": 10, "height": 10, "y": 20, "states": [0, 0]}
    frames = [{"kind": "text", "width": 120, "height": 40, "y": 40 + 50 * n, "frameVersion": n + 1,
               "text": "Rámeček verze %d" % (n + 1)} for n in range(3)]
    frames[2].update(frameView={"height": 40, "width": 120, "selection": [0, 0, 0, 7]},
                     frameHighlights=[[(0, 7)]])
    pages = [{"rows": [_para("Objekty verze %d, styl stránky verze %d." % (v, s))],
              "objects": [obj] + ([button] if v == 5 else []) + (frames if v == 6 else []),
              "objectVersion": v,
              "styleVersion": s,
              "style": {"flags": 0x32, "bannerOn": 1, "width": 300}}
             for v, s in ((2, 0), (3, 1), (4, 2), (5, 3), (6, 4))]
    return {"name": "old-formats", "title": "Staré verze",
            "names": {n: "Strana %d" % n for n in range(5)},
            "properties": {"version": 6}, "pictures": ["stary.png"],
            "fonts": {"main": [["Arial", 0]], "version": 1},
            "styles": {"version": 1, "styles": {0: {"name": "Starý", "char": {"font": 0, "size": 16,
                                                                              "weight": 3, "flags": 0},
                                                   "line": 16}}},
            "fileTables": {"programs": ["prog.exe"], "arguments": [], "version": 1},
            "contents": {"version": 2, "items": [{"text": "Staré", "page": 0}],
                         "appearance": {"treeFont": {"font": 0, "size": 15, "weight": 3, "flags": 0},
                                        "levels": [({"font": 0, "size": 15, "weight": 6, "flags": 0}, 20)]}},
            "pages": pages}


def navigation():
    items = [{"text": "Úvod", "page": 0},
             {"text": "Kapitoly", "children": [
                 {"text": "První", "page": 1, "children": [{"text": "Podkapitola", "page": 2}]},
                 {"text": "Druhá", "page": 2, "noAnchor": 1}]},
             {"text": "Odkazy", "graft": 1}]
    level = {"font": 1, "size": 10, "weight": 6, "flags": 0}
    return {"name": "navigation", "title": "Navigace",
            "names": {0: "Úvod", 1: "První", 2: "Podkapitola"},
            "properties": {"contentsPage": 0, "idList": [0]},
            "fonts": {"main": [["Arial CE", 238], ["Times New Roman CE", 238]],
                      "markers": [["Wingdings", 2]], "version": 2},
            "contents": {"items": items},
            "links": ["links.lcn", "\\text-only.lcn"],
            "appearance": {"treeFont": {"font": 1, "size": 10, "weight": 3, "flags": 0},
                           "levels": [(level, 20), (dict(level, weight=3), 20)]},
            "searchAreas": {"names": ["Kapitola 1", "Kapitola 2"], "pages": {1: [0], 2: [0, 1]}},
            "pages": [{"rows": [_para("Stránka %d" % n)],
                       "relations": [[(n + 1) % 3, 0, 0]]} for n in range(3)]}


def package():
    return {"name": "package", "package": True, "title": "Balíček",
            "documents": ["text-only.lcn", "navigation.lcn", "styled.lcn"]}


ALL = [text_only, styled, table, pictures, links, media_doc, fonts_doc, inside, timed, old_formats,
       navigation, package]


def make(directory):
    """Writes the reference set and its manifest; returns the manifest."""
    entries = []
    for make_description in ALL:
        d = make_description()
        beside = d.pop("beside", {})
        doc = document.build(d)
        document.write(doc, directory)
        for file_name, data in beside.items():
            with open(os.path.join(directory, file_name), "wb") as f:
                f.write(data)
        entries += document.facts(doc)
    return vazazi.write_manifest(directory, entries)
