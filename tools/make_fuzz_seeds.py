#!/usr/bin/env python3
"""Seed files for the fuzz targets, made by independent tools rather than our own writers.

    make_fuzz_seeds.py OUT

Makes OUT/<target>/ afresh for every fuzz target and fills it with a handful of small files of the
target's format in the variants the tools can write (depths, compressions, interlace, run-length
forms, several entries or frames). The fuzz test runner (tests/fuzz/fuzz_driver.cpp, --seeds) and
./make.sh fuzz add them to the seeds of the target's own writers.

A format whose tools are missing gets an empty folder and a message; the run then ends with 77,
which ctest reports as skipped. A tool that fails, or a file larger than MAX_SEED_BYTES, ends it
with 1.
"""

import os
import shlex
import shutil
import subprocess
import sys
import tempfile

# libFuzzer (./make.sh fuzz) cuts inputs at 64 KiB; seeds stay far below, so mutations stay quick.
MAX_SEED_BYTES = 16 * 1024

HERE = os.path.dirname(os.path.abspath(__file__))
RECORD_FILE_TOOL = os.path.join(HERE, "lcnwriter", "vazazi.py")
DOCUMENT_WRITER = os.path.join(HERE, "lcnwriter")
TEST_FONT_TOOL = os.path.join(HERE, "make_test_font.py")

# The pictures the tools start from, written into the work folder first. All are small, with edges
# and gradients so the compressors have something to do.
WIDTH, HEIGHT = 40, 24


def colour(x, y):
    return ((x * 6) & 255, (y * 10) & 255, ((x ^ y) * 8) & 255)


def palette_colour(index):
    return ((index * 53) & 255, (index * 101 + 40) & 255, (255 - index * 17) & 255)


def pictures():
    def pnm(magic, maxval, samples):
        return b"%s\n%d %d\n%d\n" % (magic, WIDTH, HEIGHT, maxval) + bytes(samples)

    points = [(x, y) for y in range(HEIGHT) for x in range(WIDTH)]
    rgb = [v for x, y in points for v in colour(x, y)]
    grey = [(x * 6 + y * 3) & 255 for x, y in points]
    grey16 = [b for v in grey for b in ((v * 257) ^ (v * 13)).to_bytes(2, "big")]
    colours16 = [v for x, y in points for v in palette_colour((x // 5 + y // 3) % 16)]
    colours200 = [v for x, y in points for v in palette_colour((x * 3 + y * 7) % 200)]
    alpha = [255 if (x + y) % 9 else 0 for x, y in points]
    bilevel = bytearray()
    for y in range(HEIGHT):
        row = 0
        for x in range(WIDTH):
            row = row << 1 | ((x + y) % 7 < 3 or x == y)
        bilevel += (row << (-WIDTH % 8)).to_bytes((WIDTH + 7) // 8, "big")
    return {
        "rgb.ppm": pnm(b"P6", 255, rgb),
        "grey.pgm": pnm(b"P5", 255, grey),
        "grey16.pgm": pnm(b"P5", 65535, grey16),
        "colours16.ppm": pnm(b"P6", 255, colours16),
        "colours200.ppm": pnm(b"P6", 255, colours200),
        "alpha.pgm": pnm(b"P5", 255, alpha),
        "bilevel.pbm": b"P4\n%d %d\n" % (WIDTH, HEIGHT) + bytes(bilevel),
    }


# ImageMagick (the Debian program before any other of that name on the path), without the
# timestamps and tool names it writes by default, so runs make equal files.
CONVERT = "/usr/bin/convert" if os.access("/usr/bin/convert", os.X_OK) else "convert"
IM = f"{CONVERT} -strip -define png:exclude-chunks=date,time"
# The colour picture with the alpha picture as its transparency, for ImageMagick to write on.
RGBA = f"{IM} rgb.ppm alpha.pgm -alpha off -compose copy-opacity -composite"

# Per target: the tools it needs (with their Debian package) and (file, shell command) pairs run in
# the work folder, where the pictures above are. A command writes the file; earlier files of the
# same target are there too. Commands pass pictures on through files, never through a pipe: a
# reader that stops early (a converter that keeps only part of a picture) kills its writer with
# SIGPIPE, and whether the writer had finished by then depends on the scheduler.
FORMATS = {
    "bmp_load_fuzz": (
        {"ppmtobmp": "netpbm", CONVERT: "imagemagick"},
        [
            ("1bit.bmp", "ppmtobmp -bpp 1 bilevel.pbm > 1bit.bmp"),
            ("4bit.bmp", "ppmtobmp -bpp 4 colours16.ppm > 4bit.bmp"),
            ("8bit.bmp", "ppmtobmp -bpp 8 colours200.ppm > 8bit.bmp"),
            ("24bit.bmp", "ppmtobmp -bpp 24 rgb.ppm > 24bit.bmp"),
            ("os2-8bit.bmp", "ppmtobmp -os2 -bpp 8 colours200.ppm > os2-8bit.bmp"),
            ("rle8.bmp", f"{IM} colours16.ppm -type Palette -compress RLE BMP3:rle8.bmp"),
            ("bitfields-565.bmp", f"{IM} rgb.ppm -define bmp:subtype=RGB565 BMP:bitfields-565.bmp"),
            ("v5-alpha.bmp", f"{RGBA} BMP:v5-alpha.bmp"),
        ],
    ),
    "gif_load_fuzz": (
        {CONVERT: "imagemagick", "gifsicle": "gifsicle"},
        [
            ("still.gif", f"{IM} colours200.ppm still.gif"),
            ("bilevel.gif", f"{IM} bilevel.pbm bilevel.gif"),
            ("interlaced.gif", "gifsicle --interlace still.gif > interlaced.gif"),
            ("animation.gif",
             f"{IM} colours16.ppm f1.gif && {IM} colours16.ppm -flop f2.gif && "
             f"{IM} colours16.ppm -flip f3.gif && "
             "gifsicle --loopcount=0 --comment frames --delay 5 "
             "--disposal background -t '#000000' f1.gif "
             "--disposal previous f2.gif --disposal none f3.gif > animation.gif"),
            ("optimised.gif",
             f"{IM} f1.gif -fill red -draw 'rectangle 5,5 12,10' f4.gif && "
             f"{IM} f1.gif -fill blue -draw 'rectangle 20,8 30,20' f5.gif && "
             "gifsicle -O2 --delay 3 f1.gif f4.gif f5.gif > optimised.gif"),
            ("local-colours.gif",
             f"{IM} rgb.ppm -colors 4 g1.gif && {IM} grey.pgm -colors 8 g2.gif && "
             "gifsicle --no-loopcount g1.gif g2.gif > local-colours.gif"),
        ],
    ),
    "ico_load_fuzz": (
        {"icotool": "icoutils", CONVERT: "imagemagick"},
        [
            ("one-24bit.ico",
             f"{IM} rgb.ppm -crop 16x16+0+0 +repage PNG24:i16.png && "
             "icotool -c -b 24 -o one-24bit.ico i16.png"),
            ("one-1bit.ico",
             f"{IM} bilevel.pbm -crop 16x16+3+2 +repage PNG8:b16.png && "
             "icotool -c -b 1 -o one-1bit.ico b16.png"),
            ("several.ico",
             f"{IM} colours16.ppm -crop 32x16+0+0 -resize 32x32! PNG8:c32.png && "
             f"{RGBA} -crop 24x24+0+0 +repage PNG32:a24.png && "
             "icotool -c -o several.ico -b 4 c32.png -b 8 c32.png -b 32 a24.png i16.png"),
            ("png-entry.ico", "icotool -c -o png-entry.ico i16.png -r a24.png"),
        ],
    ),
    # Cursors of LoadCursorFromFileA: icotool's cursors at an indexed and a direct depth, several
    # entries, and a PNG picture.
    "cursor_file_fuzz": (
        {"icotool": "icoutils", CONVERT: "imagemagick"},
        [
            ("one-4bit.cur",
             f"{IM} colours16.ppm -crop 16x16+0+0 +repage PNG8:c16.png && "
             "icotool -c --cursor -X 3 -Y 5 -b 4 -o one-4bit.cur c16.png"),
            ("several.cur",
             f"{RGBA} -crop 32x32+0+0 +repage PNG32:a32.png && "
             f"{IM} bilevel.pbm -crop 24x24+1+1 +repage PNG8:b24.png && "
             "icotool -c --cursor -X 7 -Y 1 -o several.cur -b 32 a32.png -b 1 b24.png -b 24 c16.png"),
            ("png-entry.cur", "icotool -c --cursor -X 0 -Y 9 -o png-entry.cur -r a32.png"),
        ],
    ),
    "jpeg_load_fuzz": (
        {"cjpeg": "libjpeg-turbo-progs"},
        [
            ("baseline.jpg", "cjpeg -quality 75 rgb.ppm > baseline.jpg"),
            ("progressive.jpg", "cjpeg -progressive rgb.ppm > progressive.jpg"),
            ("grey.jpg", "cjpeg -grayscale grey.pgm > grey.jpg"),
            ("restart-444.jpg", "cjpeg -restart 1 -sample 1x1 -optimize rgb.ppm > restart-444.jpg"),
            ("422.jpg", "cjpeg -sample 2x1 -quality 30 colours16.ppm > 422.jpg"),
            ("arithmetic.jpg", "cjpeg -arithmetic rgb.ppm > arithmetic.jpg"),
        ],
    ),
    "png_load_fuzz": (
        {"pnmtopng": "netpbm"},
        [
            ("1bit.png", "pnmtopng bilevel.pbm > 1bit.png"),
            ("palette.png", "pnmtopng colours16.ppm > palette.png"),
            ("grey.png", "pnmtopng grey.pgm > grey.png"),
            ("grey16.png", "pnmtopng grey16.pgm > grey16.png"),
            ("rgb-interlaced.png", "pnmtopng -interlace rgb.ppm > rgb-interlaced.png"),
            ("rgb-alpha.png", "pnmtopng -alpha=alpha.pgm rgb.ppm > rgb-alpha.png"),
            ("palette-transparent.png",
             "pnmtopng -transparent=rgb:00/28/ff colours200.ppm > palette-transparent.png"),
        ],
    ),
    "tiff_load_fuzz": (
        {"pnmtotiff": "netpbm", "tiffcp": "libtiff-tools"},
        [
            ("rgb.tif", "pnmtotiff -truecolor rgb.ppm > rgb.tif"),
            ("rgb-lzw-strips.tif", "tiffcp -c lzw:2 -r 5 rgb.tif rgb-lzw-strips.tif"),
            ("rgb-jpeg.tif", "tiffcp -c jpeg -r 16 rgb.tif rgb-jpeg.tif"),
            ("rgb-zip-tiles.tif", "tiffcp -c zip -t -w 16 -l 16 rgb.tif rgb-zip-tiles.tif"),
            ("rgb-planes.tif", "tiffcp -c packbits -p separate rgb.tif rgb-planes.tif"),
            ("palette-lzw.tif",
             "pnmtotiff colours16.ppm > p.tif && tiffcp -c lzw p.tif palette-lzw.tif"),
            ("grey16-zip.tif",
             "pnmtotiff grey16.pgm > g.tif && tiffcp -c zip g.tif grey16-zip.tif"),
            ("bilevel-g3.tif",
             "pnmtotiff -miniswhite bilevel.pbm > b.tif && tiffcp -c g3 b.tif bilevel-g3.tif"),
            ("bilevel-g4.tif", "tiffcp -c g4 b.tif bilevel-g4.tif"),
        ],
    ),
    "targa_load_fuzz": (
        {"pamtotga": "netpbm", CONVERT: "imagemagick"},
        [
            ("mapped-rle.tga", "pamtotga -cmap colours16.ppm > mapped-rle.tga"),
            ("mapped.tga", "pamtotga -cmap -norle colours16.ppm > mapped.tga"),
            ("mono-rle.tga", "pamtotga -mono grey.pgm > mono-rle.tga"),
            ("rgb.tga", "pamtotga -rgb -norle rgb.ppm > rgb.tga"),
            ("rgb-rle.tga", f"{IM} rgb.ppm -compress RLE TGA:rgb-rle.tga"),
            ("alpha.tga", f"{RGBA} TGA:alpha.tga"),
        ],
    ),
    "pcx_load_fuzz": (
        {"ppmtopcx": "netpbm"},
        [
            ("1bit.pcx", "ppmtopcx bilevel.pbm > 1bit.pcx"),
            ("4bit-planes.pcx", "ppmtopcx -planes=4 colours16.ppm > 4bit-planes.pcx"),
            ("4bit-packed.pcx", "ppmtopcx -packed colours16.ppm > 4bit-packed.pcx"),
            ("8bit.pcx", "ppmtopcx -8bit colours200.ppm > 8bit.pcx"),
            ("24bit.pcx", "ppmtopcx -24bit rgb.ppm > 24bit.pcx"),
        ],
    ),
    # The page is the 576 x 720 MacPaint keeps (pbmtomacp cuts a larger picture there).
    "macpaint_load_fuzz": (
        {"pbmtomacp": "netpbm", "pbmmake": "netpbm", "pnmpaste": "netpbm"},
        [
            ("corner.mac", "pbmtomacp bilevel.pbm > corner.mac"),
            ("page.mac",
             "pbmmake -gray 576 720 > grey.pbm && "
             "pnmpaste bilevel.pbm 100 200 grey.pbm > page.pbm && pbmtomacp page.pbm > page.mac"),
        ],
    ),
    # Files of the independent record-file tool and the document writer, the kinds that stay small.
    "record_file_fuzz": (
        {},
        [("empty.vzz",
          f"{sys.executable} -B {RECORD_FILE_TOOL} make-fixtures made > /dev/null && "
          "cp made/empty.vzz .")]
        + [(name, f"cp made/{name} .")
           for name in ("baseline.vzz", "gap_slack.vzz", "reversed.vzz", "wide_entries.vzz")]
        # Documents of the document writer: typed records, pages, companions inside.
        + [("text-only.lcn",
            f"{sys.executable} -B {DOCUMENT_WRITER} reference documents > /dev/null && "
            "cp documents/text-only.lcn .")]
        + [(name, f"cp documents/{name} .") for name in ("table.lcn", "links.lcn", "navigation.lcn")],
    ),
    # The tiny box fonts of our own font writer: a Unicode face, a symbol face and a fixed-pitch
    # one. The fuzz target adds copies of installed fonts of the other formats itself.
    "font_file_fuzz": (
        {},
        [("boxes.ttf", f"{sys.executable} -B {TEST_FONT_TOOL} boxes.ttf"),
         ("boxes-symbol.ttf",
          f"{sys.executable} -B {TEST_FONT_TOOL} --symbol --family 'Winplat Symbol Boxes' boxes-symbol.ttf"),
         ("boxes-mono.ttf",
          f"{sys.executable} -B {TEST_FONT_TOOL} --mono --family 'Winplat Mono Boxes' boxes-mono.ttf")],
    ),
}
# The form library reads the same BMP files as the image library, with a reader of its own.
FORMATS["form_bitmap_fuzz"] = FORMATS["bmp_load_fuzz"]
# The reader's cursor-image read takes the same cursor files (their 1-bit entries are its own).
FORMATS["cursor_image_fuzz"] = FORMATS["cursor_file_fuzz"]


def packed_dib_recipes():
    """The BMP files of the BMP seeds without their 14-byte file header: the packed DIB inside."""
    tools, recipes = FORMATS["bmp_load_fuzz"]
    return tools, [(name[:-4] + ".dib", f"{command} && tail -c +15 {name} > {name[:-4]}.dib")
                   for name, command in recipes]


# Packed DIBs as the clipboard holds them: the BMP writers' files without the file header.
FORMATS["packed_dib_fuzz"] = packed_dib_recipes()

# Record bodies of the independent document writer behind the target's kind byte.
RECORD_SEEDS = os.path.join(HERE, "fuzz_record_seeds.py")
sys.path.insert(0, HERE)
from fuzz_record_seeds import SEEDS as RECORD_SEED_NAMES  # noqa: E402

FORMATS["document_record_fuzz"] = (
    {}, [(name, f"{sys.executable} -B {RECORD_SEEDS} {name}") for name in RECORD_SEED_NAMES])

# Record type 9 bodies of the independent document writer behind their version byte.
FILE_TABLES_SEEDS = os.path.join(HERE, "fuzz_file_tables_seeds.py")
from fuzz_file_tables_seeds import SEEDS as FILE_TABLES_SEED_NAMES  # noqa: E402

FORMATS["file_tables_fuzz"] = (
    {}, [(name, f"{sys.executable} -B {FILE_TABLES_SEEDS} {name}") for name in FILE_TABLES_SEED_NAMES])


# Object lists, saved object blocks and hot-spot lists of the document writer behind the page
# target's kind byte.
PAGE_SEEDS = os.path.join(HERE, "fuzz_page_seeds.py")
from fuzz_page_seeds import SEEDS as PAGE_SEED_NAMES  # noqa: E402

FORMATS["page_objects_fuzz"] = (
    {}, [(name, f"{sys.executable} -B {PAGE_SEEDS} {name}") for name in PAGE_SEED_NAMES])

# Whole page records of the writer's reference documents, for the document view.
PAGE_CONTENT_SEEDS = os.path.join(HERE, "fuzz_page_content_seeds.py")
from fuzz_page_content_seeds import SEEDS as PAGE_CONTENT_SEED_NAMES  # noqa: E402

FORMATS["page_content_fuzz"] = (
    {}, [(name, f"{sys.executable} -B {PAGE_CONTENT_SEEDS} {name}") for name in PAGE_CONTENT_SEED_NAMES])


# Tables' stored forms of the document writer.
TABLE_SEEDS = os.path.join(HERE, "fuzz_table_seeds.py")
from fuzz_table_seeds import SEEDS as TABLE_SEED_NAMES  # noqa: E402

FORMATS["table_read_fuzz"] = (
    {}, [(name, f"{sys.executable} -B {TABLE_SEEDS} {name}") for name in TABLE_SEED_NAMES])


# Text-frame records of the document writer.
TEXT_FRAME_SEEDS = os.path.join(HERE, "fuzz_text_frame_seeds.py")
from fuzz_text_frame_seeds import SEEDS as TEXT_FRAME_SEED_NAMES  # noqa: E402

FORMATS["text_frame_record_fuzz"] = (
    {}, [(name, f"{sys.executable} -B {TEXT_FRAME_SEEDS} {name}") for name in TEXT_FRAME_SEED_NAMES])


# Page styles of every version in the document writer's file form.
PAGE_STYLE_SEEDS = os.path.join(HERE, "fuzz_page_style_seeds.py")
from fuzz_page_style_seeds import SEEDS as PAGE_STYLE_SEED_NAMES  # noqa: E402

FORMATS["page_style_fuzz"] = (
    {}, [(name, f"{sys.executable} -B {PAGE_STYLE_SEEDS} {name}") for name in PAGE_STYLE_SEED_NAMES])


# Metafiles of the document writer's own encoder, independent of the tests' record writer.
FORMATS["vexmill_fuzz"] = (
    {}, [("writer.wmf", f"{sys.executable} -B {os.path.join(DOCUMENT_WRITER, 'metafile.py')} writer.wmf")])


def configparser_command(name, sections, spaced=True):
    """A profile file as Python's configparser writes one: sections of keys, blank lines between."""
    code = ("import configparser, sys\n"
            "p = configparser.ConfigParser(interpolation=None)\n"
            "p.optionxform = str\n"
            f"p.read_dict({sections!r})\n"
            f"p.write(sys.stdout, space_around_delimiters={spaced!r})\n")
    return f"{sys.executable} -B -c {shlex.quote(code)} > {name}"


# Profile (.ini) files of Python's own writer.
FORMATS["ini_text_fuzz"] = (
    {},
    [("spaced.ini", configparser_command("spaced.ini", {
        "windows": {"load": "", "run": "notepad.exe"},
        "Desktop": {"Wallpaper": "(none)", "TileWallpaper": "0"}})),
     ("tight.ini", configparser_command("tight.ini", {
        "Settings": {"Language": "1029", "Window": "10 20 640 480"},
        "Recent Files": {"File1": "C:\\BOOKS\\FIRST.LCN", "File2": "D:\\second.lcn"}}, spaced=False))],
)

def wave_command(name, channels, width, rate, frames):
    """A WAV file as Python's wave module writes one: PCM samples of a rising ramp."""
    code = ("import wave\n"
            f"w = wave.open({name!r}, 'wb')\n"
            f"w.setnchannels({channels}); w.setsampwidth({width}); w.setframerate({rate})\n"
            f"w.writeframes(bytes(i % 256 for i in range({frames * channels * width})))\n"
            "w.close()\n")
    return f"{sys.executable} -B -c {shlex.quote(code)}"


# WAV files of Python's own writer, as waveaudio devices open them.
FORMATS["wave_header_fuzz"] = (
    {},
    [("mono8.wav", wave_command("mono8.wav", 1, 1, 8000, 400)),
     ("stereo16.wav", wave_command("stereo16.wav", 2, 2, 22050, 300))],
)


# Targets no tool here writes for: what the folder stays empty for.
NO_TOOL = {
    "bmi_load_fuzz": "the library's own format",
    "wpg_load_fuzz": "ImageMagick and libwpg read WPG but write none",
    "flic_stream_fuzz": "ffmpeg decodes FLI/FLC but has no encoder for them",
    "registry_store_fuzz": "the layer's own format",
    "script_program_fuzz": "the drafting program's own script files",
    "text_data_fuzz": "its inputs are record bodies behind a kind byte, not files",
    "resource_picture_fuzz": "the stored forms of a module's resources, which only the project writes",
    "entity_record_fuzz": "the drafting program's own drawing records",
    "search_query_fuzz": "its inputs are typed queries and coded text behind a kind byte, not files",
}
NO_TOOL["dialog_template_fuzz"] = "the stored forms of a module's resources, which only the project writes"
NO_TOOL["menu_template_fuzz"] = "the stored forms of a module's resources, which only the project writes"
NO_TOOL["page_text_links_fuzz"] = "its inputs are rows of page text, whose seeds the target makes itself"
NO_TOOL["chunked_body_fuzz"] = "the record file's own chunked bodies"
NO_TOOL["animation_record_fuzz"] = "the page's own record of an animated picture, which no other tool writes"
NO_TOOL["companion_table_fuzz"] = "its inputs are record bodies of the companion table, not files"
NO_TOOL["embedded_font_table_fuzz"] = "its inputs are record bodies of the embedded-font table behind a version byte, not files"
NO_TOOL["drafting_input_fuzz"] = "its inputs are setting blocks, side-file records and typed numbers behind a kind byte"
NO_TOOL["message_table_fuzz"] = "the drafting program's own message table; its seeds are the shipped one and the target's own"
NO_TOOL["lkd_reader_fuzz"] = "the drafting program's own drawing files; the project's drawing writer keeps its files in tests/fuzz/repro"


def run(command, folder):
    done = subprocess.run(["bash", "-c", "set -eo pipefail; " + command], cwd=folder,
                          stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    if done.returncode != 0:
        raise RuntimeError(f"'{command}' failed ({done.returncode}):\n{done.stdout}")


def make(target, recipes, out):
    with tempfile.TemporaryDirectory(prefix="fuzz_seeds_") as work:
        for name, data in pictures().items():
            with open(os.path.join(work, name), "wb") as f:
                f.write(data)
        for name, command in recipes:
            run(command, work)
            size = os.path.getsize(os.path.join(work, name))
            if size == 0 or size > MAX_SEED_BYTES:
                raise RuntimeError(
                    f"{target}/{name} is {size} bytes; a seed file holds 1 to {MAX_SEED_BYTES}")
            shutil.copyfile(os.path.join(work, name), os.path.join(out, name))


def main():
    if len(sys.argv) != 2:
        print(__doc__.strip().splitlines()[2].strip(), file=sys.stderr)
        return 2
    root = sys.argv[1]
    skipped = []
    try:
        for target in sorted(set(FORMATS) | set(NO_TOOL)):
            out = os.path.join(root, target)
            shutil.rmtree(out, ignore_errors=True)
            os.makedirs(out)
            if target in NO_TOOL:
                print(f"{target}: no seed files: {NO_TOOL[target]}")
                continue
            tools, recipes = FORMATS[target]
            missing = [f"{tool} ({package})" for tool, package in tools.items()
                       if not shutil.which(tool)]
            if missing:
                print(f"{target}: seed files skipped, missing {', '.join(missing)}")
                skipped.append(target)
                continue
            make(target, recipes, out)
            print(f"{target}: {len(recipes)} seed files")
    except (OSError, RuntimeError) as error:
        print(f"make_fuzz_seeds: {error}", file=sys.stderr)
        return 1
    return 77 if skipped else 0


if __name__ == "__main__":
    sys.exit(main())
