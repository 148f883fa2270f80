"""Numbers as the program's entity dump writes them: the shortest text that reads back to the
same double, fixed or scientific, whichever is shorter (fixed on a tie), the exponent with a sign
and at least two digits."""

from decimal import Decimal


def _forms(value):
    sign, digits, exponent = Decimal(repr(value)).normalize().as_tuple()
    text = "".join(str(d) for d in digits).rstrip("0") or "0"
    # value = 0.text x 10^point
    point = len(digits) + exponent
    if text == "0":
        return ("-" if sign else "") + "0", ("-" if sign else "") + "0e+00"
    if point <= 0:
        fixed = "0." + "0" * (-point) + text
    elif point >= len(text):
        fixed = text + "0" * (point - len(text))
    else:
        fixed = text[:point] + "." + text[point:]
    power = point - 1
    mantissa = text[0] + ("." + text[1:] if len(text) > 1 else "")
    scientific = "%se%s%02d" % (mantissa, "-" if power < 0 else "+", abs(power))
    prefix = "-" if sign else ""
    return prefix + fixed, prefix + scientific


def number(value):
    value = float(value)
    fixed, scientific = _forms(value)
    return scientific if len(scientific) < len(fixed) else fixed
