#!/usr/bin/env python3
"""Checks that the project's layers include only what lies below them.

    check_layers.py [ROOT]

Reads every C and C++ file under ROOT (the repository by default), finds the file each quoted or
angled include names in the tree, and reports each include that reaches into a layer the file may
not use:

- the reader's layers, lowest first, are store, text, page, shell and navigate: a layer may include
  its own headers and those of the layers below it, never one above;
- the image library builds on the platform's public headers alone, and the reader on those, the
  image library's exported header and the vector-picture library's exported header;
- the vector-picture library (platform/vexmill) sits on the platform's public headers: its own
  files and those only, never the platform's private sources;
- the drafting program shares no code with the other two: it builds on the platform's public
  headers and, from its display layer up, the form library's; its drawing layer lies below its
  display, files and script layers, the files layer sees only the drawing layer, the display
  layer does not include the script layer, and the main form's layer (ui) lies above them all;
- the form library (platform/forms) sits on the platform's public headers alone; nothing else of
  the platform includes it, and neither the image library nor the reader does;
- nothing outside platform/ includes the platform's private sources (platform/src), except the
  platform's own tests and the fuzz targets (tests/fuzz), which drive its readers directly;
- inside the platform, each area of platform/src includes its own headers, those of the areas
  below it (PLATFORM_AREAS) and the public headers; from user, the areas above it (host,
  controls, dialogs, commdlg) take only the headers user lends them (USER_LENDS), never the window
  record itself;
- the controls, dialogs and common dialogs keep a window's state only through
  user/window_state.h: no table keyed by window, no pointer in a window word the program owns.

Include-path separation in the build stops most of these; this check also catches a relative
include ("../text/x.h") that climbs out of its folder. Exits with 1 when anything is reported.
"""

import argparse
import posixpath
import re
import sys
from pathlib import Path

READER_LAYERS = ("store", "text", "page", "shell", "navigate")
SOURCE_SUFFIXES = {".c", ".cc", ".cpp", ".h", ".hpp", ".inc"}
# Folders of the tree that hold no sources of ours.
SKIPPED_FOLDERS = {"build", ".git"}
# Where a non-relative include may be found: the include roots the build hands the compilers.
INCLUDE_ROOTS = ("imagelib", "viewer", "platform/include", "platform/src", "platform/vexmill/include",
                 "platform/forms/include", "platform/forms/src", "drafting")
INCLUDE = re.compile(r'^\s*#\s*include\s*["<]([^">]+)[">]')

PLATFORM_PUBLIC = "platform/include/"
FORMS_PUBLIC = "platform/forms/include/"
PLATFORM_PRIVATE = "platform/src/"
FORMS = "platform/forms/"
PIXMILL_HEADER = "imagelib/pixmill/"
VEXMILL = "platform/vexmill/"
VEXMILL_HEADER = "platform/vexmill/include/vexmill/"

# The areas of platform/src, each with the areas right below it; an area may include those and,
# through them, everything further down. Areas named together in one line are peers, which never
# include each other.
#   base                          handles, errors, cp1250
#   kernel, files, ole            memory and modules; drive paths; streams over global memory
#                                 (through the public calls only)
#   registry < profile            the registry's store sits on the state folder (files); .ini
#                                 files are read with the registry's tree and host file
#   gdi                           bitmaps, DCs and drawing
#   text, clipboard               fonts and text output draw through GDI's DCs; the clipboard
#                                 makes CF_BITMAP from CF_DIB with GDI's bitmaps
#   user                          the window manager draws text (captions, menus)
#   host, controls                the hosts feed input to user and show the screen's bitmap;
#                                 the controls are windows of user's classes
#   print                         the virtual printers: documents of pages on printer DCs
#   dialogs < commdlg             dialogs are made of controls; the common dialogs of dialogs (the
#                                 print dialog makes printer DCs)
#   mci                           media devices read their files and keep time through the public
#                                 calls
#   shell                         starting programs: their files found through the drive paths,
#                                 handles closed through the files' CloseHandle (public calls only)
PLATFORM_AREAS = {
    "base": (),
    "kernel": ("base",),
    "files": ("base",),
    "ole": ("base",),
    "registry": ("files",),
    "profile": ("registry",),
    "gdi": ("kernel", "profile"),
    "text": ("gdi",),
    "clipboard": ("gdi",),
    "user": ("text",),
    "host": ("user",),
    "controls": ("user",),
    "dialogs": ("controls",),
    "print": ("gdi",),
    "commdlg": ("dialogs", "print"),
    "mci": ("files",),
    "shell": ("files",),
}

# What user lends the areas above it, by the area that first needs it; an area above that one
# (dialogs above controls) may use it too. The window record (user/window.h) is never lent.
USER_LENDS = {
    # the 3-D edges and buttons, the scroll bar's tracking, layout and drawing, the built-in
    # class list, and the one place a window's state is kept
    "controls": ("user/edge_drawing.h", "user/scroll_tracking.h", "user/builtin_classes.h",
                 "user/window_state.h"),
    "dialogs": ("user/message_pump.h",),  # the modal loops take their messages through it
    "host": ("user/input_feed.h",),  # input in, the cursor to show out
}

# Window state kept outside user/window_state.h, as found in the code (comments left out) of
# these areas.
STATE_AREAS = ("controls", "dialogs", "commdlg")
STATE_PATTERNS = (
    (re.compile(r"map\s*<\s*HWND\b"), "a table keyed by window (std::map, std::unordered_map)"),
    (re.compile(r"\bDWL_USER\b"), "a pointer in DWL_USER, the dialog procedure's own word"),
    (re.compile(r"\bGWLP?_USERDATA\b"), "a pointer in GWLP_USERDATA, the program's own word"),
)


def under(path, folder):
    return path.startswith(folder)


def reader_layer(path):
    """The reader layer a path of viewer/ lies in, or None outside a layer folder."""
    parts = path.split("/")
    return parts[1] if len(parts) > 2 and parts[0] == "viewer" else None


def reader_rule(source, target):
    """Why a reader file may not include target, or None when it may."""
    layer = reader_layer(source)
    if layer is None:
        return None  # a file of viewer/ itself may use every layer
    if layer not in READER_LAYERS:
        return f"viewer/{layer} is not one of the reader's layers ({', '.join(READER_LAYERS)})"
    if under(target, "viewer/"):
        other = reader_layer(target)
        if other in READER_LAYERS and READER_LAYERS.index(other) > READER_LAYERS.index(layer):
            return f"the {layer} layer may not include the {other} layer above it"
        return None
    if under(target, PLATFORM_PUBLIC) or under(target, PIXMILL_HEADER) or under(target, VEXMILL_HEADER):
        return None
    return ("the reader uses the platform's public headers and the exported headers of the image and "
            "vector-picture libraries only")


def drafting_rule(source, target):
    """Why a drafting file may not include target, or None when it may."""
    if under(source, "drafting/drawing/") and under(target, "drafting/script/"):
        return "the drawing layer may not include the script layer above it"
    if under(source, "drafting/drawing/") and under(target, "drafting/files/"):
        return "the drawing layer may not include the files layer above it"
    if under(source, "drafting/files/") and under(target, ("drafting/script/", "drafting/display/")):
        return "the files layer reads drawings into the model: it may not include the display or script layers"
    if under(source, "drafting/drawing/") and under(target, "drafting/display/"):
        return "the drawing layer may not include the display layer above it"
    if under(source, "drafting/display/") and under(target, "drafting/script/"):
        return "the display layer may not include the script layer"
    if under(target, "drafting/ui/") and not under(source, "drafting/ui/"):
        return "the main form's layer lies above the drawing, display and script layers"
    if under(target, FORMS_PUBLIC):
        if under(source, "drafting/drawing/"):
            return "the drawing layer draws nothing: the form library is for the display layer and above"
        return None
    if under(target, "drafting/") or under(target, PLATFORM_PUBLIC):
        return None
    return ("the drafting program shares no code with the other programs: its own headers and the public ones of "
            "the platform and the form library only")


def forms_rule(target):
    """Why a file of the form library may not include target, or None when it may."""
    if under(target, FORMS) or under(target, PLATFORM_PUBLIC):
        return None
    return "the form library uses its own headers and the platform's public headers only"


def platform_area(path):
    """The area of platform/src a path lies in, or None outside the areas' folders."""
    parts = path.split("/")
    return parts[2] if len(parts) > 3 and under(path, PLATFORM_PRIVATE) else None


def areas_below(area):
    """Every area the given one may include, itself left out."""
    found = set()
    waiting = list(PLATFORM_AREAS.get(area, ()))
    while waiting:
        lower = waiting.pop()
        if lower not in found:
            found.add(lower)
            waiting.extend(PLATFORM_AREAS[lower])
    return found


def lent_by_user(area):
    """The user headers an area above user may include."""
    lent = set()
    for borrower in areas_below(area) | {area}:
        lent.update(USER_LENDS.get(borrower, ()))
    return lent


def platform_rule(source, target):
    """Why a platform file may not include target, or None when it may."""
    if under(source, FORMS):
        return forms_rule(target)
    if not under(target, "platform/") or under(target, FORMS):
        return "the platform includes nothing above it"
    if under(source, VEXMILL):
        if under(target, VEXMILL) or under(target, PLATFORM_PUBLIC):
            return None
        return "the vector-picture library uses its own headers and the platform's public headers only"
    area = platform_area(source)
    other = platform_area(target)
    if area is None or other is None or other == area:
        return None
    if area not in PLATFORM_AREAS:
        return f"platform/src/{area} is not one of the platform's areas ({', '.join(PLATFORM_AREAS)})"
    if other not in areas_below(area):
        return f"the {area} area may not include the {other} area, which is not below it"
    lent = lent_by_user(area)
    if other == "user" and target[len(PLATFORM_PRIVATE):] not in lent:
        return f"the {area} area takes from user only what user lends it: {', '.join(sorted(lent))}"
    return None


def violation(source, target):
    """Why source may not include target (both relative to the root), or None when it may."""
    if under(source, "platform/"):
        return platform_rule(source, target)
    if under(source, "imagelib/"):
        if under(target, "imagelib/") or under(target, PLATFORM_PUBLIC):
            return None
        return "the image library uses its own headers and the platform's public headers only"
    if under(source, "viewer/"):
        return reader_rule(source, target)
    if under(source, "drafting/"):
        return drafting_rule(source, target)
    if under(target, PLATFORM_PRIVATE) and not (under(source, "tests/platform/") or under(source, "tests/fuzz/")):
        return "only the platform, its own tests and the fuzz targets include the platform's private sources"
    return None


def candidates(root, source, name):
    """The files of the tree an include of name in source may reach, relative to root."""
    found = []
    for base in (posixpath.dirname(source),) + INCLUDE_ROOTS:
        path = posixpath.normpath(posixpath.join(base, name))
        if not path.startswith("../") and (root / path).is_file() and path not in found:
            found.append(path)
    return found


def check_include(root, source, name):
    """Why the include is refused, or None. A name the tree holds under several roots is refused
    only when each of them is; one that names platform/src is refused even when it is not found."""
    found = candidates(root, source, name)
    reasons = [violation(source, target) for target in found]
    if found and all(reasons):
        return f"includes {found[0]}: {reasons[0]}"
    if "platform/src/" in posixpath.normpath(name):
        reason = violation(source, PLATFORM_PRIVATE + posixpath.basename(name))
        if reason:
            return f"includes {name}: {reason}"
    return None


def sources(root):
    for path in sorted(root.rglob("*")):
        relative = path.relative_to(root)
        if relative.parts and relative.parts[0] in SKIPPED_FOLDERS:
            continue
        if path.suffix in SOURCE_SUFFIXES and path.is_file():
            yield relative.as_posix()


def kept_state(source, line):
    """Why a line of code keeps window state outside the seam, or None."""
    if platform_area(source) not in STATE_AREAS:
        return None
    code = line.split("//", 1)[0]
    for pattern, what in STATE_PATTERNS:
        if pattern.search(code):
            return f"keeps window state outside user/window_state.h: {what}"
    return None


def unknown_folders(root):
    """The folders of the reader and of platform/src that are none of their layers or areas."""
    problems = []
    for folder in sorted((root / "viewer").glob("*/")):
        if folder.is_dir() and folder.name not in READER_LAYERS:
            problems.append(f"viewer/{folder.name}: not one of the reader's layers ({', '.join(READER_LAYERS)})")
    for folder in sorted((root / PLATFORM_PRIVATE).glob("*/")):
        if folder.is_dir() and folder.name not in PLATFORM_AREAS:
            problems.append(f"{PLATFORM_PRIVATE}{folder.name}: not one of the platform's areas "
                            f"({', '.join(PLATFORM_AREAS)})")
    return problems


def check(root):
    """Every refused include or kept state as 'file:line: why', and how many files were read."""
    problems = []
    count = 0
    for source in sources(root):
        count += 1
        text = (root / source).read_text(encoding="utf-8", errors="replace")
        for number, line in enumerate(text.splitlines(), 1):
            match = INCLUDE.match(line)
            reason = check_include(root, source, match.group(1)) if match else kept_state(source, line)
            if reason:
                problems.append(f"{source}:{number}: {reason}")
    return problems + unknown_folders(root), count


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("root", nargs="?", default=Path(__file__).resolve().parents[2], type=Path)
    args = parser.parse_args(argv)
    problems, count = check(args.root)
    if count == 0:
        print(f"check_layers: no C or C++ files under {args.root}", file=sys.stderr)
        return 1
    for problem in problems:
        print(problem)
    if problems:
        print(f"check_layers: {len(problems)} include(s) across layers or state outside the seam", file=sys.stderr)
        return 1
    print(f"check_layers: {count} files, every include within its layers")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
