"""A small 1-bit run-length PCX picture (a diagonal stripe pattern), for image entities."""

import struct


def pcx_1bit(width, height):
    bytes_per_line = (width + 15) // 16 * 2
    header = bytearray(128)
    header[0] = 10
    header[1] = 5
    header[2] = 1   # run-length encoded
    header[3] = 1   # bits per pixel
    struct.pack_into("<hhhh", header, 4, 0, 0, width - 1, height - 1)
    header[65] = 1  # planes
    struct.pack_into("<hh", header, 66, bytes_per_line, 1)
    body = bytearray()
    for row in range(height):
        line = bytes(0xFF if (col + row) % 3 == 0 else 0x00 for col in range(bytes_per_line))
        col = 0
        while col < len(line):
            run = 1
            while col + run < len(line) and line[col + run] == line[col] and run < 63:
                run += 1
            if run > 1 or line[col] >= 0xC0:
                body += bytes([0xC0 | run, line[col]])
            else:
                body.append(line[col])
            col += run
    return bytes(header) + bytes(body)


# The low byte a loaded image's flags get from this picture: run-length encoded, 1 bit, 1 plane.
LOADED_FORMAT = 0x01
