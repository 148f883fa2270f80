#!/usr/bin/env python3
"""Writes the drafting program's folder kit into resources/linework/.

    make_kit.py [OUTPUT_FOLDER]

The kit is the program's own: the Czech message table LK.LKT (exactly 267 lines, Windows-1250,
CR LF), the start-up script LK.LKP that captions the menus, the typed-command hook COMMAND.LKP, the menu files PDMENU.LKM (384 lines)
and ICONMENU.LKM (168 lines), and the message box pictures BMP/MSG_INF.BMP, MSG_CNF.BMP and
MSG_ERR.BMP drawn here. Message numbers that the program names itself are listed in
drafting/README.md.
"""

import struct
import sys
from pathlib import Path

# Messages 0..174 (file lines 1..175). Numbers without a text are kept free: their line reads "-".
MESSAGES = {
    0: "OK",
    1: "Ne",
    2: "Ano",
    3: "Uložit změny výkresu? ",
    4: "Ano",
    5: "Ne",
    6: "Storno",
    7: "Chyba",
    8: "Příkaz:",
    9: "Natočení pohledu",
    10: "Klepněte na políčko úhlu, zavřete klávesou Esc",
    11: "Rastr je příliš hustý, nezobrazí se",
    12: "Barva",
    13: "Klepnutím vyberte barvu, dalším klepnutím ji potvrďte",
    14: "Menší měřítko už nelze zvolit",
    15: "Tloušťka čáry",
    16: "Klepnutím vyberte tloušťku, dalším klepnutím ji potvrďte",
    17: "Větší měřítko už nelze zvolit",
    18: "Styl čáry",
    19: "Klepnutím vyberte styl, dalším klepnutím ho potvrďte",
    20: "Výkres je prázdný",
    21: "Typ čáry",
    22: "Klepnutím vyberte typ, dalším klepnutím ho potvrďte",
    23: "plná",
    24: "čárkovaná",
    25: "tečkovaná",
    26: "čerchovaná",
    27: "dvojitě čerchovaná",
    28: "neviditelná",
    29: "uživatelská",
    30: "Objekt leží ve skryté vrstvě. Přesto ho vybrat?",
    31: "Vrstvy",
    32: "Alt: aktivní vrstva, Ctrl: skrýt nebo zobrazit, pravé tlačítko: tažením skrýt",
    33: "Další pohled v historii není",
    34: "Tento pohled není uložen (Ctrl+klepnutí ho uloží)",
    35: "Výřez: první roh",
    36: "Výřez: protější roh",
    37: "",
    38: "Toto jméno bloku nelze použít: ",
    39: "Vrstva ",
    40: "Posun: výchozí bod",
    41: "Posun: cílový bod",
    42: "",
    43: "Střed nového pohledu",
    44: "",
    47: "Velikost zaměřovacího čtverečku",
    48: "Nová velikost v pixelech:",
    49: "",
    50: "Krok rastru",
    51: "Krok v ose X:",
    52: "",
    53: "Krok v ose Y:",
    54: "",
    55: "Úhel ortogonálního režimu",
    56: "Úhel:",
    57: "",
    58: "Krok přichycení",
    59: "",
    60: "",
    62: "Tato předvolba vlastností není uložena (Ctrl+klepnutí ji uloží)",
    63: "Systémová proměnná",
    64: "Číslo proměnné (0..1498):",
    65: "",
    66: " = ",
    69: "Úsečka: počáteční bod",
    70: "Počet úseček",
    71: "Počet (1..255):",
    72: "",
    75: "Oblouk: počáteční bod",
    76: "Počet oblouků",
    77: "Počet (0..255):",
    78: "",
    80: "Otočit: vyberte objekty",
    81: "",
    82: "Otočit: střed otáčení",
    83: "Otočit: úhel",
    84: "",
    85: "Protáhnout: vyberte objekty křížovým oknem",
    86: "",
    87: "Protáhnout: výchozí bod",
    88: "Protáhnout: cílový bod",
    89: "Změna měřítka: vyberte objekty",
    90: "",
    91: "Změna měřítka: základní bod",
    92: "Změna měřítka: poměr",
    93: "Posunout: vyberte objekty",
    94: "",
    95: "Posunout: výchozí bod",
    96: "Posunout: cílový bod",
    97: "Kopírovat: vyberte objekty",
    98: "",
    99: "Kopírovat: výchozí bod",
    100: "Smazat: potvrďte výběr",
    101: "Smazat: vyberte objekty",
    104: "Některé objekty leží v neaktivních vrstvách a nebyly vybrány",
    106: "Okno: první roh",
    107: "Okno: protější roh",
    108: "",
    109: "Křížové okno: první roh",
    110: "Křížové okno: protější roh",
    111: "Ohrada: body ohrady, ukončete pravým tlačítkem",
    112: "",
    113: "Rozsah hladin",
    114: "Od hladiny:",
    115: "Do hladiny:",
    116: "",
    117: "Výběr podle hodnoty",
    118: "Hodnota:",
    119: "",
    120: "Výkres je právě otevřen jiným programem: ",
    121: "Chyba ve výkresu na řádku ",
    122: "Soubor není výkres nebo je poškozen: ",
    123: "Soubor má neznámý formát: ",
    124: "",
    125: "Blok nebyl nalezen: ",
    126: "Blok je již definován: ",
    127: "Kde je soubor ",
    129: "Pokyn pro právě prováděný krok (klepnutím ho zopakujete)",
    130: "Stav skriptu (pravým tlačítkem krokování)",
    131: "Souřadnice kurzoru (klepnutím změníte zobrazení)",
    132: "Skript ještě běží.%%Přerušit ho a ukončit program?",
    133: "Výkres byl změněn.%%Uložit ho před ukončením?",
    134: "Ukončit program Linework?",
    136: "Soubor nelze otevřít: ",
    137: "Soubor nelze zapsat: ",
    138: "Nedostatek paměti",
    139: "Příliš mnoho objektů",
    140: "Neplatné číslo",
    141: "Hodnota je mimo povolený rozsah",
    142: "Import DXF skončil s chybami, viz DXFIN.LOG",
    143: "Neznámá entita DXF: ",
    144: "Import HPGL: neznámý příkaz ",
    145: "Soubor snímku je poškozen",
    146: "Obrázek nelze načíst: ",
    147: "Písmo nelze načíst: ",
    148: "Tisk se nezdařil",
    149: "Výkres nelze uložit: ukládání výkresů program zatím neumí.%%Zvolte Ne (neukládat) nebo Storno.",
    172: "Tiskárna není připravena",
    173: "Příliš mnoho vnořených bloků",
    174: "Operaci nelze vrátit",
}

# Hints of Edit1 and of Label1, Label2, Label3, Panel1, Label4, Image1, Label5, Image2, Label6,
# Image3 (lines 176..186), and the status-panel string (line 187).
CONTROL_HINTS = [
    "Příkazový řádek: příkaz, souřadnice nebo jméno objektu",
    "Pokyn příkazu",
    "Měřítko (klepnutím ho změníte)",
    "Barva (klepnutím ji vyberete)",
    "Aktuální barva",
    "Tloušťka čáry (klepnutím ji vyberete)",
    "Aktuální tloušťka",
    "Styl čáry (klepnutím ho vyberete)",
    "Aktuální styl",
    "Typ čáry (klepnutím ho vyberete)",
    "Aktuální typ",
]
STATUS_STRING = "Vrstva %d"

# Hints of tool buttons 1..80 (lines 188..267).
TOOL_HINTS = (
    [f"Uložený pohled {v} (Ctrl: uložit)" for v in range(1, 11)]
    + [
        "Zvětšit výřez",
        "Zvětšit 2x (Alt: 10x)",
        "Posun vpravo dolů",
        "Posun vpravo",
        "Posun vpravo nahoru",
        "Překreslit",
        "Zmenšit 2x (Alt: 10x)",
        "Posun dolů",
        "Posun",
        "Posun nahoru",
        "Předchozí pohled",
        "Střed pohledu (Ctrl: velikost zaměřovače)",
        "Posun vlevo dolů",
        "Posun vlevo",
        "Posun vlevo nahoru",
        "Celý výkres",
        "Rastr (Ctrl: krok rastru)",
        "Ortogonální režim",
        "Režim úhlu (Ctrl: úhel)",
        "Přichycení (Ctrl: krok)",
    ]
    + [f"Předvolba vlastností {chr(ord('A') + i)} (Ctrl: uložit)" for i in range(10)]
    + ["Výběr oknem"]
    + [f"Výběrové okno druhu {k}" for k in range(1, 13)]
    + [
        "Natočení pohledu",
        "Systémová proměnná",
        "Úsečka (Ctrl: počet)",
        "Oblouk (Ctrl: počet)",
        "Otočit",
        "Protáhnout",
        "Změna měřítka",
        "Posunout",
        "Kopírovat",
        "Smazat",
        "Smazat vše viditelné",
        "Zpět",
        "Vybrat vše",
        "Výběr oknem",
        "Výběr jednoho objektu",
        "Výběr křížovým oknem",
        "Výběr ohradou",
        "Filtr hladin (Ctrl: zapnout)",
        "Filtr hodnot (Ctrl: zapnout)",
        "Filtr vrstev (Ctrl: zapnout)",
        "Filtr barev (Ctrl: zapnout)",
        "Filtr vrstev a barev (Ctrl: zapnout)",
        "Filtr 5 (Ctrl: zapnout)",
        "Výběr podle posledního",
        "Přidávat do výběru",
        "Odebírat z výběru",
        "Zastavit",
    ]
)

# The main menu: top menu captions and, per top menu, its items (caption, script line). The line
# of item i (1..32) of top menu t (1..12) is PDMENU.LKM line 32 (t - 1) + i.
MENUS = [
    ("&Soubor", [("&Konec", "quit")]),
    ("&Nastavení", [
        ("&Zvuky zapnout", "sv 35 1; stop"),
        ("Zvuky &vypnout", "sv 35 0; stop"),
        ("&Pípání zapnout", "sv 36 1; stop"),
        ("P&ípání vypnout", "sv 36 0; stop"),
    ]),
]


def cp1250(text):
    return text.encode("cp1250")


def message_table():
    lines = [MESSAGES.get(n, "-") for n in range(175)]
    lines = ['"' + t + '"' if t != t.strip() or t == "" else t for t in lines]
    lines += CONTROL_HINTS + [STATUS_STRING] + TOOL_HINTS
    assert len(CONTROL_HINTS) == 11 and len(TOOL_HINTS) == 80, (len(CONTROL_HINTS), len(TOOL_HINTS))
    assert len(lines) == 267, len(lines)
    return b"".join(cp1250(line) + b"\r\n" for line in lines)


def start_script():
    lines = ["/ Linework: menus of the main form"]
    for t, (caption, items) in enumerate(MENUS, start=1):
        lines.append(f'pdmenu {t} 0 set "{caption}"')
        for i, (item, _) in enumerate(items, start=1):
            lines.append(f'pdmenu {t} {i} set "{item}"')
    for t in range(len(MENUS) + 1, 13):
        lines.append(f'pdmenu {t} 0 set ""')
    lines.append("stop")
    return b"".join(cp1250(line) + b"\r\n" for line in lines)


def command_hook():
    """COMMAND.LKP: every line typed at the command line that has no hook of its own comes here.
    The program puts the cleaned line into 0$; line 2 copies it over line 3, which then runs as
    the typed statements, and line 4 ends the run."""
    lines = [
        "/ Linework: a typed command line arrives in 0$ and runs as line 3",
        "3$ = 0$",
        "/",
        "stop",
    ]
    return b"".join(cp1250(line) + b"\r\n" for line in lines)


def menu_file():
    lines = ["/"] * 384
    for t, (_, items) in enumerate(MENUS, start=1):
        for i, (_, line) in enumerate(items, start=1):
            lines[32 * (t - 1) + i - 1] = line
    return b"".join(cp1250(line) + b"\r\n" for line in lines)


def icon_menu_file():
    return b"/\r\n" * 168


def bmp(width, height, pixels):
    """A 24-bit bottom-up BMP of rows of (r, g, b), top row first."""
    stride = (width * 3 + 3) & ~3
    body = bytearray()
    for row in reversed(pixels):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        body += line
    header = struct.pack("<2sIHHI", b"BM", 54 + len(body), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    return header + info + bytes(body)


# 7 x 9 glyphs of the three signs, "#" set.
GLYPHS = {
    "i": ["..#..", ".....", ".##..", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "?": [".###.", "#...#", "....#", "...#.", "..#..", "..#..", ".....", "..#..", "..#.."],
    "!": ["..#..", "..#..", "..#..", "..#..", "..#..", "..#..", ".....", "..#..", "..#.."],
}


def sign_picture(glyph, colour):
    """A 32 x 32 disc in the colour with the glyph in white, scaled 3 times, on the form's grey."""
    size = 32
    grey = (192, 192, 192)
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            dx, dy = x - 15.5, y - 15.5
            inside = dx * dx + dy * dy <= 15.0 * 15.0
            row.append(colour if inside else grey)
        rows.append(row)
    shape = GLYPHS[glyph]
    top = (size - 3 * len(shape)) // 2
    left = (size - 3 * len(shape[0])) // 2
    for gy, line in enumerate(shape):
        for gx, c in enumerate(line):
            if c != "#":
                continue
            for y in range(3):
                for x in range(3):
                    rows[top + 3 * gy + y][left + 3 * gx + x] = (255, 255, 255)
    return bmp(size, size, rows)


def main():
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parents[2] / "resources" / "linework"
    (out / "BMP").mkdir(parents=True, exist_ok=True)
    (out / "LK.LKT").write_bytes(message_table())
    (out / "LK.LKP").write_bytes(start_script())
    (out / "COMMAND.LKP").write_bytes(command_hook())
    (out / "PDMENU.LKM").write_bytes(menu_file())
    (out / "ICONMENU.LKM").write_bytes(icon_menu_file())
    (out / "BMP" / "MSG_INF.BMP").write_bytes(sign_picture("i", (40, 90, 200)))
    (out / "BMP" / "MSG_CNF.BMP").write_bytes(sign_picture("?", (30, 140, 60)))
    (out / "BMP" / "MSG_ERR.BMP").write_bytes(sign_picture("!", (200, 40, 30)))


if __name__ == "__main__":
    main()
