"""Reading the compiler's text sources (resource files, .pix pictures): UTF-8, with or without a
byte order mark, every problem raised as make_error(path, line, message)."""


def read_utf8(path, make_error):
    try:
        with open(path, "rb") as f:
            data = f.read()
    except OSError as e:
        raise make_error(path, 0, f"cannot read: {e.strerror}") from None
    try:
        return data.decode("utf-8-sig")
    except UnicodeDecodeError as e:
        raise make_error(path, data[: e.start].count(b"\n") + 1, "the file is not valid UTF-8") from None
