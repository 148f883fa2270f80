"""Pictures and object lists of the object painting benchmark, written by the document writer.

Usage: object_painting_pictures.py LCNWRITER_DIR OUTDIR

still.gif: 200 x 200, a striped ring on transparent palette index 0 (about half the pixels
transparent). anim.gif: 200 x 200, three frames of a disc in a colour of each frame, on the same
transparent index. objects50.bin and objects500.bin: object lists of that many copies of still.gif
at natural size on a grid of 150-pixel steps, six to a row, so each overlaps its neighbours by 50
pixels each way as pictures of a real page do; objects_anim.bin: the first page with anim.gif on top,
over nine of its pictures."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(sys.argv[1])))
from lcnwriter import media, page  # noqa: E402

out = sys.argv[2]
SIDE = 200
STEP = 150
COLUMNS = 6


def write(name, data):
    with open(os.path.join(out, name), "wb") as f:
        f.write(data)


def ring(x, y):
    d2 = (x - 100) ** 2 + (y - 100) ** 2
    if d2 > 95 * 95 or d2 < 35 * 35:
        return 0
    return 1 + (x + y) // 25 % 7


PALETTE = [(0, 0, 0), (230, 40, 40), (240, 160, 30), (250, 230, 60), (60, 200, 80), (40, 160, 230),
           (90, 70, 220), (200, 60, 200)]
write("still.gif", media.gif(SIDE, SIDE, PALETTE, [[ring(x, y) for y in range(SIDE) for x in range(SIDE)]],
                             transparent=0))


def disc(n):
    return [1 + n if (x - 100) ** 2 + (y - 100) ** 2 <= (60 + 15 * n) ** 2 else 0
            for y in range(SIDE) for x in range(SIDE)]


write("anim.gif", media.gif(SIDE, SIDE, PALETTE[:4], [disc(n) for n in range(3)], transparent=0,
                            delays=[10, 10, 10]))


def picture(n, picture_index=0, x=None, y=None):
    return {"kind": "picture", "picture": picture_index, "width": SIDE, "height": SIDE, "z": n,
            "x": STEP * (n % COLUMNS) if x is None else x, "y": STEP * (n // COLUMNS) if y is None else y,
            "fit": [0, 1000, 0, 0, -1]}


def objects(name, objs):
    write(name, page.objects_file({"objectVersion": 6, "objects": objs}))


objects("objects50.bin", [picture(n) for n in range(50)])
objects("objects500.bin", [picture(n) for n in range(500)])
objects("objects_anim.bin", [picture(n) for n in range(50)] + [picture(50, 1, STEP, STEP)])
