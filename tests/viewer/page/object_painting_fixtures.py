"""Pictures of the object painting tests, written by the document writer's own encoders.

Usage: object_painting_fixtures.py LCNWRITER_DIR OUTDIR
Every picture is of flat colours so that a probe of one pixel tells which picture it shows."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(sys.argv[1])))
from lcnwriter import media  # noqa: E402

out = sys.argv[2]


def write(name, data):
    with open(os.path.join(out, name), "wb") as f:
        f.write(data)


def flat_png(name, w, h, colour):
    write(name, media.png(w, h, lambda x, y: colour))


flat_png("red.png", 20, 10, (255, 0, 0))
flat_png("blue.png", 30, 30, (0, 0, 255))
flat_png("big.png", 40, 40, (255, 255, 0))
flat_png("behind.png", 20, 10, (0, 255, 255))
for n, c in enumerate([(10, 10, 10), (20, 20, 20), (30, 30, 30), (40, 40, 40)]):
    flat_png("state%d.png" % n, 10, 10, c)
# 20 x 20: the left half transparent (index 0), the right half yellow.
write("half.gif", media.gif(20, 20, [(0, 0, 0), (255, 255, 0)],
                            [[0 if x < 10 else 1 for y in range(20) for x in range(20)]], transparent=0))
# One flat colour per frame: palette entry n in frame n.
frames5 = [(255, 0, 255), (0, 128, 0), (128, 0, 0), (0, 0, 128), (128, 128, 0)]
write("anim3.gif", media.gif(10, 10, frames5[:4], [[n] * 100 for n in range(3)], delays=[10, 10, 10]))
write("anim5.gif", media.gif(10, 10, frames5 + [(0, 0, 0)] * 3, [[n] * 100 for n in range(5)], delays=[10] * 5))
# 10 x 20 of one flat colour, so fitted into a square box it leaves the box's right half.
write("vec.wmf", media.vector(10, 20, [{"kind": "rectangle", "pen": 1, "colour": 0x808000, "fill": 0x808000,
                                             "box": [0, 0, 9, 19]}]))
# The same frame with only its top half drawn: the bottom half is left to what lies under it.
write("hollow.wmf", media.vector(10, 20, [{"kind": "rectangle", "pen": 1, "colour": 0x808000, "fill": 0x808000,
                                                "box": [0, 0, 9, 9]}]))
