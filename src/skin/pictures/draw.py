#!/usr/bin/env python3
"""Writes every SVG picture of the skin, and pictures.qrc, into this folder.

The SVG files are the sources the program compiles in; this script only keeps
their palette, states and proportions consistent. Change a picture here and run
    python3 src/skin/pictures/draw.py
then commit the script together with the SVG files it rewrote.

Outside a window's shape the SVGs are left transparent: the loader turns those
pixels into the magenta key, so no edge ever blends into magenta.
"""

import os

HERE = os.path.dirname(os.path.abspath(__file__))
FONT = "DejaVu Sans"
STATES = ("normal", "hover", "pressed", "disabled")

# One accent colour on a light working area under a dark title band.
INK = "#1D2433"          # title bands
INK2 = "#283144"         # controls on a title band
INK3 = "#343F57"         # controls on a title band, mouse over
ON_DARK = "#F2F5FA"
ON_DARK_MUTED = "#A3AEC2"
DIS_DARK = "#566076"
BG = "#EDF0F4"
CARD = "#FFFFFF"
LINE = "#D3D9E2"
EDGE = "#9AA4B3"         # window outline on light parts
TEXT = "#1D2433"
MUTED = "#667285"
ACCENT = "#2B7DE9"
ACCENT_HI = "#4C93F0"
ACCENT_DK = "#1C62C6"
ACCENT_LT = "#DCEAFD"
ACCENT_TINT = "#EFF5FE"
ACCENT_ON_DARK = "#6AA8F7"
DANGER = "#E5484D"
DANGER_DK = "#C4343A"
WARN = "#F0A020"
DIS = "#B3BBC6"
DIS_FILL = "#F1F3F6"
DIS_LINE = "#DEE2E8"
STRIPE = "#F5F7FA"
GROOVE = "#DCE2EA"

written = []


def svg(name, w, h, body):
    text = (f'<svg xmlns="http://www.w3.org/2000/svg" width="{w}" height="{h}" '
            f'viewBox="0 0 {w} {h}">\n{body}</svg>\n')
    with open(os.path.join(HERE, name + ".svg"), "w", encoding="utf-8") as f:
        f.write(text)
    written.append(name + ".svg")


def rrect(x, y, w, h, r, fill="none", stroke=None, sw=1, extra=""):
    s = f' stroke="{stroke}" stroke-width="{sw}"' if stroke else ""
    return f'<rect x="{x}" y="{y}" width="{w}" height="{h}" rx="{r}" ry="{r}" fill="{fill}"{s}{extra}/>\n'


def rpath(x, y, w, h, tl, tr, br, bl):
    """Path of a rectangle with its own radius per corner."""
    x2, y2 = x + w, y + h
    d = f"M{x + tl},{y} H{x2 - tr}"
    d += f" A{tr},{tr} 0 0 1 {x2},{y + tr}" if tr else ""
    d += f" V{y2 - br}"
    d += f" A{br},{br} 0 0 1 {x2 - br},{y2}" if br else ""
    d += f" H{x + bl}"
    d += f" A{bl},{bl} 0 0 1 {x},{y2 - bl}" if bl else ""
    d += f" V{y + tl}"
    d += f" A{tl},{tl} 0 0 1 {x + tl},{y}" if tl else ""
    return d + " Z"


def path(d, fill="none", stroke=None, sw=1.0, cap="round", join="round", extra=""):
    s = (f' stroke="{stroke}" stroke-width="{sw}" stroke-linecap="{cap}" '
         f'stroke-linejoin="{join}"') if stroke else ""
    return f'<path d="{d}" fill="{fill}"{s}{extra}/>\n'


def circle(cx, cy, r, fill="none", stroke=None, sw=1.0):
    s = f' stroke="{stroke}" stroke-width="{sw}"' if stroke else ""
    return f'<circle cx="{cx}" cy="{cy}" r="{r}" fill="{fill}"{s}/>\n'


def text(x, y, t, size, fill, weight="normal", anchor="start"):
    t = t.replace("&", "&amp;").replace("<", "&lt;")
    return (f'<text x="{x}" y="{y}" font-family="{FONT}" font-size="{size}" '
            f'font-weight="{weight}" fill="{fill}" text-anchor="{anchor}">{t}</text>\n')


def group(dx, dy, body):
    return f'<g transform="translate({dx},{dy})">\n{body}</g>\n'


# ---------------------------------------------------------------- glyphs
# Each glyph draws in a 20 x 20 box at (x, y) with colour c.

def glyph_add(x, y, c):
    return (rrect(x + 1.5, y + 3.5, 17, 13, 2.5, stroke=c, sw=1.6)
            + path(f"M{x + 6},{y + 3.5} V{y + 16.5} M{x + 14},{y + 3.5} V{y + 16.5}", stroke=c, sw=1.2)
            + circle(x + 15.5, y + 15.5, 5.5, fill=c)
            + path(f"M{x + 15.5},{y + 12.5} V{y + 18.5} M{x + 12.5},{y + 15.5} H{x + 18.5}",
                   stroke=INK, sw=1.8, cap="butt"))


def glyph_remove(x, y, c):
    return (rrect(x + 1.5, y + 3.5, 17, 13, 2.5, stroke=c, sw=1.6)
            + path(f"M{x + 6},{y + 3.5} V{y + 16.5} M{x + 14},{y + 3.5} V{y + 16.5}", stroke=c, sw=1.2)
            + circle(x + 15.5, y + 15.5, 5.5, fill=c)
            + path(f"M{x + 12.5},{y + 15.5} H{x + 18.5}", stroke=INK, sw=1.8, cap="butt"))


def glyph_clear(x, y, c):
    return (path(f"M{x + 3},{y + 5.5} H{x + 17}", stroke=c, sw=1.7)
            + path(f"M{x + 8},{y + 5} V{y + 3} H{x + 12} V{y + 5}", stroke=c, sw=1.5)
            + path(f"M{x + 4.8},{y + 7.5} L{x + 5.8},{y + 17.5} H{x + 14.2} L{x + 15.2},{y + 7.5}", stroke=c, sw=1.7)
            + path(f"M{x + 8.3},{y + 9.5} V{y + 15} M{x + 11.7},{y + 9.5} V{y + 15}", stroke=c, sw=1.3))


def glyph_share(x, y, c):
    return (path(f"M{x + 2},{y + 9.5} L{x + 18},{y + 2.5} L{x + 12.5},{y + 17.5} L{x + 9.5},{y + 11} Z",
                 stroke=c, sw=1.6)
            + path(f"M{x + 9.5},{y + 11} L{x + 18},{y + 2.5}", stroke=c, sw=1.4))


def glyph_info(x, y, c):
    return (circle(x + 10, y + 5.6, 1.4, fill=c)
            + path(f"M{x + 8.2},{y + 9} H{x + 10.4} V{y + 15} M{x + 8.2},{y + 15.2} H{x + 12.2}",
                   stroke=c, sw=1.8))


def glyph_home(x, y, c):
    return path(f"M{x + 3.5},{y + 9.5} L{x + 10},{y + 4} L{x + 16.5},{y + 9.5} "
                f"M{x + 5.5},{y + 8.5} V{y + 15.5} H{x + 8.6} V{y + 11.8} H{x + 11.4} V{y + 15.5} H{x + 14.5} V{y + 8.5}",
                stroke=c, sw=1.6)


def glyph_mail(x, y, c):
    return (rrect(x + 3.5, y + 6, 13, 9, 1.5, stroke=c, sw=1.5)
            + path(f"M{x + 4},{y + 6.8} L{x + 10},{y + 11} L{x + 16},{y + 6.8}", stroke=c, sw=1.4))


def glyph_camera(x, y, c):
    return (path(f"M{x + 2.5},{y + 7} Q{x + 2.5},{y + 5.5} {x + 4},{y + 5.5} H{x + 6.5} L{x + 8},{y + 3.5} "
                 f"H{x + 12} L{x + 13.5},{y + 5.5} H{x + 16} Q{x + 17.5},{y + 5.5} {x + 17.5},{y + 7} "
                 f"V{y + 14.5} Q{x + 17.5},{y + 16} {x + 16},{y + 16} H{x + 4} Q{x + 2.5},{y + 16} {x + 2.5},{y + 14.5} Z",
                 stroke=c, sw=1.5)
            + circle(x + 10, y + 10.5, 3.1, stroke=c, sw=1.5))


def logo(x, y, s, frame=ACCENT):
    """The program's mark: a rounded tile with a play sign turning into an arrow."""
    k = s / 26.0
    return group(x, y, f'<g transform="scale({k})">\n'
                 + rrect(0, 0, 26, 26, 6.5, fill=frame)
                 + path("M9,7.5 L19,13 L9,18.5 Z", fill="#FFFFFF")
                 + path("M5.5,19.5 Q5.5,22 8,22 H20", stroke="#FFFFFF", sw=1.6, extra=' opacity="0.75"')
                 + "</g>\n")


# ---------------------------------------------------------------- device pictograms
# Each draws in a 30 x 38 box at (x, y) with line colour c and detail colour d.

def picto_ipod(x, y, c, d):
    return (rrect(x + 6.5, y + 2.5, 19, 33, 4, stroke=c, sw=2)
            + rrect(x + 9.5, y + 5.5, 13, 10, 1.5, fill=c)
            + path(f"M{x + 14.3},{y + 8} L{x + 18.3},{y + 10.5} L{x + 14.3},{y + 13} Z", fill=d)
            + circle(x + 16, y + 26, 5.6, stroke=c, sw=1.8)
            + circle(x + 16, y + 26, 1.7, fill=c))


def picto_music(x, y, c, d):
    return (path(f"M{x + 4.5},{y + 23} V{y + 17} A{11},{11} 0 0 1 {x + 26.5},{y + 17} V{y + 23}", stroke=c, sw=2.2)
            + rrect(x + 2.5, y + 20.5, 6, 11, 2.5, fill=c)
            + rrect(x + 22.5, y + 20.5, 6, 11, 2.5, fill=c)
            + path(f"M{x + 17.5},{y + 12.5} V{y + 25} M{x + 17.5},{y + 12.5} L{x + 21},{y + 14.3}",
                   stroke=c, sw=1.8, cap="round")
            + circle(x + 15.4, y + 25.6, 2.5, fill=c))


def picto_phone(x, y, c, d):
    return (rrect(x + 7.5, y + 1.5, 17, 35, 3.5, stroke=c, sw=2)
            + rrect(x + 10, y + 6, 12, 22, 1, fill=c)
            + circle(x + 16, y + 32, 1.6, fill=c)
            + path(f"M{x + 14},{y + 3.8} H{x + 18}", stroke=c, sw=1.2))


def picto_tv(x, y, c, d):
    return (rrect(x + 1.5, y + 7.5, 28, 19, 2.5, stroke=c, sw=2)
            + rrect(x + 4.5, y + 10.5, 22, 13, 1, fill=c)
            + path(f"M{x + 13.5},{y + 13.5} L{x + 18.5},{y + 17} L{x + 13.5},{y + 20.5} Z", fill=d)
            + path(f"M{x + 10.5},{y + 31.5} H{x + 20.5} M{x + 15.5},{y + 27} V{y + 31.5}", stroke=c, sw=2))


# ---------------------------------------------------------------- buttons

# Caption widths in DejaVu Sans Bold 12 px, so that pictogram and caption sit centred.
CAPTION_WIDTH = {"Add": 26.4, "Remove": 54.0, "Clear": 35.0, "Share": 39.3}


def title_button(w, h, glyph, caption, state, inset):
    """A labelled button on a dark title band: pictogram and caption, centred."""
    l, t, r, b = inset
    fill, stroke, glyph_c, cap_c = {
        "normal": (INK2, None, ACCENT_ON_DARK, ON_DARK),
        "hover": (INK3, ACCENT, ACCENT_ON_DARK, "#FFFFFF"),
        "pressed": (ACCENT, None, "#FFFFFF", "#FFFFFF"),
        "disabled": ("#222A3A", None, DIS_DARK, DIS_DARK),
    }[state]
    dy = 1 if state == "pressed" else 0
    bw, bh = w - l - r, h - t - b
    body = rrect(l + 0.5, t + 0.5, bw - 1, bh - 1, 7, fill=fill, stroke=stroke)
    group_w = 18 + 5 + CAPTION_WIDTH[caption]
    gx = round(l + (bw - group_w) / 2)
    gy = t + (bh - 18) / 2 + dy
    # the badge of the add and remove glyphs is cut out in the button's own colour
    body += glyph_at(glyph, gx, gy, glyph_c, 18).replace(INK, fill)
    body += text(gx + 23, t + bh / 2 + 4 + dy, caption, 12, cap_c, weight="bold")
    return body


def glyph_at(glyph, x, y, c, size):
    return group(x, y, f'<g transform="scale({size / 20.0})">\n' + glyph(0, 0, c) + "</g>\n")


def round_icon_button(glyph, state):
    """22 x 22 round button on a dark band."""
    fill, ring, c = {
        "normal": (INK2, None, ON_DARK),
        "hover": (INK3, ACCENT_ON_DARK, "#FFFFFF"),
        "pressed": (ACCENT, None, "#FFFFFF"),
        "disabled": ("#222A3A", None, DIS_DARK),
    }[state]
    body = circle(11, 11, 10.5 if not ring else 10, fill=fill, stroke=ring, sw=1)
    return body + glyph(1, 1, c)


def caption_button(w, h, kind, state, dark_glyph):
    """Minimise and close, on a dark band; close turns red under the mouse."""
    if kind == "close":
        fill = {"normal": None, "hover": DANGER, "pressed": DANGER_DK, "disabled": None}[state]
    else:
        fill = {"normal": None, "hover": INK3, "pressed": "#44506A", "disabled": None}[state]
    c = {"normal": ON_DARK_MUTED, "hover": "#FFFFFF", "pressed": "#FFFFFF", "disabled": DIS_DARK}[state]
    body = rrect(0, 0, w, h, 4, fill=fill) if fill else ""
    cx, cy = w / 2, h / 2
    if kind == "close":
        body += path(f"M{cx - 4},{cy - 4} L{cx + 4},{cy + 4} M{cx + 4},{cy - 4} L{cx - 4},{cy + 4}", stroke=c, sw=1.5)
    else:
        body += path(f"M{cx - 5},{cy + 0.5} H{cx + 5}", stroke=c, sw=1.5, cap="butt")
    return body


def light_button(w, h, state, radius=5):
    """Frame of a button on a light surface; returns (frame, glyph colour, text colour, offset)."""
    fill, stroke, c, tc = {
        "normal": (CARD, "#C3CBD6", TEXT, TEXT),
        "hover": (ACCENT_TINT, ACCENT, ACCENT, ACCENT_DK),
        "pressed": (ACCENT_LT, ACCENT_DK, ACCENT_DK, ACCENT_DK),
        "disabled": (DIS_FILL, DIS_LINE, DIS, DIS),
    }[state]
    frame = rrect(0.5, 0.5, w - 1, h - 1, radius, fill=fill, stroke=stroke)
    return frame, c, tc, (1 if state == "pressed" else 0)


def device_button(picto, line1, line2, state):
    w, h = 112, 50
    if state == "disabled":      # the current device: its button is disabled while chosen
        frame = rrect(0.5, 0.5, w - 1, h - 1, 8, fill=ACCENT, stroke=ACCENT_DK)
        c, d, t1, t2, dy = "#FFFFFF", ACCENT, "#FFFFFF", "#DCEAFD", 0
        frame += circle(104, 8, 4.5, fill="#FFFFFF")
        frame += path("M101.9,8.1 L103.4,9.6 L106.1,6.6", stroke=ACCENT, sw=1.4)
    else:
        fill, stroke, c, t1, t2 = {
            "normal": (CARD, "#C3CBD6", "#3B4558", TEXT, MUTED),
            "hover": (ACCENT_TINT, ACCENT, ACCENT, ACCENT_DK, ACCENT),
            "pressed": (ACCENT_LT, ACCENT_DK, ACCENT_DK, ACCENT_DK, ACCENT_DK),
        }[state]
        frame = rrect(0.5, 0.5, w - 1, h - 1, 8, fill=fill, stroke=stroke)
        d = fill
        dy = 1 if state == "pressed" else 0
    body = frame + picto(7, 6 + dy, c, d)
    body += text(43, 23 + dy, line1, 12, t1, weight="bold")
    body += text(43, 37 + dy, line2, 10, t2)
    return body


def round_action_button(w, h, kind, state):
    """The big round start and stop buttons."""
    cx, cy = w / 2, h / 2
    r = min(w, h) / 2 - 5
    if kind == "start":
        fill = {"normal": ACCENT, "hover": ACCENT_HI, "pressed": ACCENT_DK, "disabled": "#C9CFD8"}[state]
        ring = {"normal": ACCENT_LT, "hover": "#C4DBFB", "pressed": ACCENT_LT, "disabled": "#E6E9EE"}[state]
        caption = "Start"
    else:
        fill = {"normal": INK, "hover": DANGER, "pressed": DANGER_DK, "disabled": "#C9CFD8"}[state]
        ring = {"normal": "#DDE1E8", "hover": "#F8D3D4", "pressed": "#F8D3D4", "disabled": "#E6E9EE"}[state]
        caption = "Stop"
    fg = "#FFFFFF" if state != "disabled" else "#F4F6F9"
    dy = 1 if state == "pressed" else 0
    body = circle(cx, cy, r + 4, fill=ring)
    body += circle(cx, cy + dy, r, fill=fill)
    s = r / 40.0
    if kind == "start":
        body += path(f"M{cx - 9 * s},{cy - 20 * s + dy} L{cx + 15 * s},{cy - 6 * s + dy} "
                     f"L{cx - 9 * s},{cy + 8 * s + dy} Z", fill=fg, extra=' stroke-linejoin="round"')
    else:
        body += rrect(cx - 11 * s, cy - 19 * s + dy, 22 * s, 22 * s, 3 * s, fill=fg)
    body += text(cx, cy + 24 * s + dy, caption, round(14 * s + 3, 1), fg, weight="bold", anchor="middle")
    return body


# ---------------------------------------------------------------- the pictures

def glyph_scissors(x, y, c):
    """14 x 14, blades pointing right: the trim range bar beside it."""
    return (circle(x + 3.5, y + 3.5, 2.3, stroke=c, sw=1.3)
            + circle(x + 3.5, y + 10.5, 2.3, stroke=c, sw=1.3)
            + path(f"M{x + 5.4},{y + 4.9} L{x + 13},{y + 10.2} M{x + 5.4},{y + 9.1} L{x + 13},{y + 3.8}",
                   stroke=c, sw=1.3))


def main_background():
    w, h = 897, 561
    b = ""
    b += rrect(0, 0, w, h, 12, fill=INK)                      # outline and title band
    b += path(rpath(1, 100, w - 2, h - 101, 0, 0, 11, 11), fill=BG)
    b += path(f"M1,100.5 H{w - 1}", stroke="#11161F", sw=1, cap="butt")
    b += logo(37, 15, 26)
    b += text(72, 34, "Orvo", 18, "#FFFFFF", weight="bold")
    b += text(126, 34, "Video Converter", 18, ON_DARK_MUTED)
    b += path("M773.5,62 V88", stroke="#323C50", sw=1, cap="butt")

    # preview card: pane, trim range bar and snapshot
    b += rrect(36.5, 110.5, 268, 244, 8, fill=CARD, stroke=LINE)
    b += text(50, 125, "PREVIEW", 10, MUTED, weight="bold")
    b += rrect(49.5, 130.5, 241, 181, 1, fill="#000000", stroke="#111722")
    b += glyph_scissors(50, 333, MUTED)

    # clip list card: column heads over the row fields, row stripes at the row pitch
    b += rrect(312.5, 110.5, 555, 244, 8, fill=CARD, stroke=LINE)
    heads = [(340, "CLIP"), (446, "LENGTH"), (566, "SIZE"), (682, "START"), (732, "END"), (783, "OUTPUT")]
    for x, t in heads:
        b += text(x, 129, t, 10, MUTED, weight="bold")
    b += path("M313,134.5 H867", stroke=LINE, sw=1, cap="butt")
    for i in range(8):
        if i % 2:
            b += f'<rect x="318" y="{137 + 18 * i}" width="527" height="17" fill="{STRIPE}"/>\n'
    # card footer: start, end and output folder fields
    b += path("M313,292.5 H867", stroke=LINE, sw=1, cap="butt")
    b += path(rpath(313, 293, 554, 61, 0, 0, 7.5, 7.5), fill="#F8F9FB")
    b += text(325, 347, "Tip: drag the handles under the preview to convert only part of a clip.",
              10, MUTED)

    # lower panel: devices, profile and parameters, start
    b += path("M1,360.5 H896", stroke=LINE, sw=1, cap="butt")
    b += f'<rect x="1" y="361" width="895" height="152" fill="{CARD}"/>\n'
    b += text(40, 386, "Convert for", 13, TEXT, weight="bold")
    b += text(40, 402, "choose a device", 10, MUTED)
    b += path("M40,417.5 H740", stroke="#E7EBF0", sw=1, cap="butt")
    b += path("M748.5,372 V504", stroke="#E7EBF0", sw=1, cap="butt")
    b += path("M1,513.5 H896", stroke=LINE, sw=1, cap="butt")
    b += logo(37, 528, 16, frame="#9AA6B8")
    b += text(60, 540, "Converted files are saved to the output folder, one sub-folder per device.",
              10, MUTED)
    svg("main_background", w, h, b)


def intro():
    w, h = 847, 260
    b = f'<rect width="{w}" height="{h}" fill="{BG}"/>\n'
    b += rrect(14.5, 10.5, 831, 244, 8, fill=CARD, stroke=LINE)
    # illustration: a stack of clips with an add badge
    ox, oy = 70, 52
    b += rrect(ox + 24.5, oy + 0.5, 150, 100, 10, fill="#E9EEF5", stroke="#D5DCE6")
    b += rrect(ox + 12.5, oy + 14.5, 150, 100, 10, fill="#F1F4F8", stroke="#D5DCE6")
    b += rrect(ox + 0.5, oy + 28.5, 150, 100, 10, fill=CARD, stroke="#C3CBD6", sw=1.5)
    for i in range(5):
        b += rrect(ox + 10 + i * 28, oy + 35, 18, 8, 2, fill="#E3E8EF")
        b += rrect(ox + 10 + i * 28, oy + 114, 18, 8, 2, fill="#E3E8EF")
    b += path(f"M{ox + 62},{oy + 62} L{ox + 94},{oy + 79} L{ox + 62},{oy + 96} Z", fill=ACCENT_LT,
              stroke=ACCENT, sw=2)
    b += circle(ox + 146, oy + 126, 21, fill=ACCENT)
    b += path(f"M{ox + 146},{oy + 115} V{oy + 137} M{ox + 135},{oy + 126} H{ox + 157}", stroke="#FFFFFF",
              sw=3.5, cap="round")
    # text and steps
    tx = 330
    b += text(tx, 74, "Add your videos to get started", 22, TEXT, weight="bold")
    b += text(tx, 98, "Orvo converts them into files that play on your iPod, iPhone and Apple TV.", 12, MUTED)
    steps = [("1", "Add", "Click Add and pick one or more video files."),
             ("2", "Choose", "Pick the device and a profile below."),
             ("3", "Start", "Press Start: the files go into the output folder.")]
    for i, (n, head, line) in enumerate(steps):
        y = 130 + i * 36
        b += circle(tx + 13, y + 10, 13, fill=ACCENT_LT)
        b += text(tx + 13, y + 15, n, 13, ACCENT_DK, weight="bold", anchor="middle")
        b += text(tx + 36, y + 8, head, 12, TEXT, weight="bold")
        b += text(tx + 36, y + 23, line, 11, MUTED)
    svg("intro", w, h, b)


def splash():
    w, h = 400, 220
    b = f'<rect width="{w}" height="{h}" fill="{INK}"/>\n'
    b += circle(400, 0, 150, fill="#222B3C")
    b += circle(400, 0, 95, fill="#27324A")
    b += logo(40, 58, 56)
    b += text(112, 84, "Orvo", 28, "#FFFFFF", weight="bold")
    b += text(112, 110, "Video Converter", 20, ON_DARK_MUTED)
    b += text(40, 156, "Video for iPod, iPhone and Apple TV", 12, ON_DARK)
    b += text(40, 196, "Starting...", 10, ON_DARK_MUTED)
    for i, picto in enumerate((picto_ipod, picto_music, picto_phone, picto_tv)):
        b += picto(232 + i * 38, 168, "#4A5670", INK)
    b += f'<rect x="0" y="{h - 4}" width="{w}" height="4" fill="{ACCENT}"/>\n'
    svg("splash", w, h, b)


def dialog_frame(w, h, band, title):
    b = rrect(0, 0, w, h, 10, fill=EDGE)
    b += path(rpath(1, band, w - 2, h - band - 1, 0, 0, 9, 9), fill=CARD)
    b += path(rpath(0, 0, w, band, 10, 10, 0, 0), fill=INK)
    b += logo(10, (band - 16) / 2, 16)
    b += text(33, band / 2 + 4.5, title, 12, "#FFFFFF", weight="bold")
    return b


def process_background():
    w, h = 510, 265
    b = dialog_frame(w, h, 26, "Converting")
    b += rrect(20.5, 38.5, 469, 118, 6, fill="#F3F5F8", stroke="#E3E7ED")
    b += path("M30,68.5 H480 M30,92.5 H480", stroke="#E3E7ED", sw=1, cap="butt")
    b += rrect(43, 176, 271, 6, 3, fill=GROOVE)
    svg("process_background", w, h, b)


def about_background():
    w, h = 432, 236
    b = dialog_frame(w, h, 40, "About")
    b += text(216, 115, "Free video converter for iPod, iPhone and Apple TV", 11, MUTED, anchor="middle")
    b += path(rpath(1, 177, w - 2, h - 178, 0, 0, 9, 9), fill=BG)
    svg("about_background", w, h, b)


def notice_background():
    w, h = 518, 299
    b = dialog_frame(w, h, 24, "Notice")
    # warning sign beside the text
    b += path("M80,76 L120,146 H40 Z", fill=WARN, stroke=WARN, sw=8)
    b += path("M80,100 V123", stroke="#FFFFFF", sw=7)
    b += circle(80, 136, 4.2, fill="#FFFFFF")
    x = 160
    b += text(x, 86, "A video file you added is not supported", 15, TEXT, weight="bold")
    lines = ["Its file type, format or picture size cannot be",
             "converted for Apple devices. That clip is skipped;",
             "every other clip in the list is converted as usual."]
    for i, t in enumerate(lines):
        b += text(x, 120 + i * 19, t, 12, TEXT)
    b += path(f"M1,250.5 H{w - 1}", stroke=LINE, sw=1, cap="butt")
    b += path(rpath(1, 251, w - 2, h - 252, 0, 0, 9, 9), fill=BG)
    b += circle(31, 275, 8, fill=ACCENT_LT) + glyph_at(glyph_info, 23, 267, ACCENT_DK, 16)
    svg("notice_background", w, h, b)


def add_progress_panel():
    w, h = 348, 71
    b = f'<rect width="{w}" height="{h}" fill="{CARD}"/>\n'
    b += rrect(0.5, 0.5, w - 1, h - 1, 7, fill=CARD, stroke="#B8C2CF")
    b += rrect(20, 39, 271, 6, 3, fill=GROOVE)
    svg("add_progress_panel", w, h, b)


def progress_fill():
    b = f'<rect width="271" height="6" fill="{ACCENT}"/>\n'
    b += f'<rect width="271" height="2" fill="{ACCENT_HI}"/>\n'
    svg("progress_fill", 271, 6, b)


def check_marks():
    b = rrect(1.5, 1.5, 11, 11, 2.5, fill=CARD, stroke="#8E99A8", sw=1)
    b += rrect(15, 1, 12, 12, 3, fill=ACCENT)
    b += path("M18,7.2 L20.2,9.6 L24.2,4.6", stroke="#FFFFFF", sw=1.8)
    svg("check_marks", 28, 14, b)


def scroll_parts():
    b = f'<rect width="19" height="146" fill="{STRIPE}"/>\n'
    b += path("M0.5,0 V146", stroke="#E3E7ED", sw=1, cap="butt")
    b += rrect(7.5, 4, 6, 138, 3, fill=GROOVE)
    svg("scroll_track", 19, 146, b)
    b = rrect(2.5, 0.5, 12, 19, 4, fill="#8F9BAC", stroke="#7F8B9D")
    b += path("M5.5,7.5 H11.5 M5.5,10 H11.5 M5.5,12.5 H11.5", stroke="#E6EAF0", sw=1, cap="butt")
    svg("scroll_thumb", 17, 20, b)


def range_parts():
    b = rrect(2, 6, 150, 4, 2, fill=GROOVE)
    svg("range_track", 154, 16, b)
    b = f'<rect width="134" height="8" fill="{ACCENT}"/>\n'
    b += f'<rect y="0" width="134" height="1" fill="{ACCENT_HI}"/>\n'
    b += f'<rect y="7" width="134" height="1" fill="{ACCENT_DK}"/>\n'
    svg("range_fill", 134, 8, b)
    for side in ("left", "right"):
        for state in STATES:
            fill = {"normal": ACCENT_DK, "hover": ACCENT, "pressed": "#154FA3", "disabled": "#AAB3BF"}[state]
            d = rpath(0, 0, 10, 14, 3, 0, 0, 3) if side == "left" else rpath(0, 0, 10, 14, 0, 3, 3, 0)
            b = path(d, fill=fill)
            b += path("M4.5,4 V10 M6.5,4 V10" if side == "left" else "M3.5,4 V10 M5.5,4 V10",
                      stroke="#FFFFFF", sw=1, cap="butt", extra=' opacity="0.85"')
            svg(f"range_{side}_{state}", 10, 14, b)


def toolbar():
    specs = [("add", 89, 38, glyph_add, "Add", (2, 1, 2, 1)),
             ("remove", 89, 38, glyph_remove, "Remove", (2, 1, 2, 1)),
             ("clear", 89, 38, glyph_clear, "Clear", (2, 1, 2, 1)),
             ("share", 95, 40, glyph_share, "Share", (6, 3, 2, 1))]
    for name, w, h, g, cap, inset in specs:
        for state in STATES:
            svg(f"{name}_{state}", w, h, title_button(w, h, g, cap, state, inset))
    for name, g in (("about", glyph_info), ("home", glyph_home), ("mail", glyph_mail)):
        for state in STATES:
            svg(f"{name}_{state}", 22, 22, round_icon_button(g, state))
    for name, w, h, kind in (("minimize", 28, 19, "min"), ("close", 45, 19, "close"),
                             ("notice_close", 46, 20, "close")):
        for state in STATES:
            svg(f"{name}_{state}", w, h, caption_button(w, h, kind, state, True))


def light_buttons():
    for state in STATES:
        frame, c, tc, dy = light_button(47, 26, state)
        svg(f"snapshot_{state}", 47, 26, frame + glyph_camera(13.5, 3 + dy, c))
        frame, c, tc, dy = light_button(62, 25, state)
        svg(f"browse_{state}", 62, 25, frame + text(31, 16.5 + dy, "Browse", 11, tc, weight="bold", anchor="middle"))
        frame, c, tc, dy = light_button(80, 27, state)
        svg(f"button_{state}", 80, 27, frame)


def control_parts():
    """Parts of the skinned lists, spin fields and track bars."""
    for state in STATES:
        fill, stroke, c = {
            "normal": ("#F1F4F8", None, "#4A5468"),
            "hover": (ACCENT_TINT, None, ACCENT),
            "pressed": (ACCENT_LT, None, ACCENT_DK),
            "disabled": (DIS_FILL, None, DIS),
        }[state]
        b = rrect(0, 0, 18, 18, 3, fill=fill)
        b += path("M5.5,7.5 L9,11 L12.5,7.5", stroke=c, sw=1.6)
        svg(f"combo_button_{state}", 18, 18, b)
        b = rrect(0, 0, 16, 9, 2, fill=fill) + path("M5,6 L8,3 L11,6", stroke=c, sw=1.4)
        svg(f"spin_up_{state}", 16, 9, b)
        b = rrect(0, 0, 16, 9, 2, fill=fill) + path("M5,3 L8,6 L11,3", stroke=c, sw=1.4)
        svg(f"spin_down_{state}", 16, 9, b)
        fill, stroke, line = {
            "normal": (CARD, ACCENT, ACCENT),
            "hover": (ACCENT_TINT, ACCENT, ACCENT),
            "pressed": (ACCENT, ACCENT_DK, "#FFFFFF"),
            "disabled": (DIS_FILL, DIS, DIS),
        }[state]
        b = rrect(0.75, 0.75, 9.5, 16.5, 3, fill=fill, stroke=stroke, sw=1.5)
        b += path("M5.5,5.5 V12.5", stroke=line, sw=1.5)
        svg(f"slider_thumb_{state}", 11, 18, b)


def devices():
    specs = [("device_ipod", picto_ipod, "iPod", "Video"),
             ("device_music", picto_music, "iPod", "Music (MP3)"),
             ("device_iphone", picto_phone, "iPhone", "iPod touch"),
             ("device_tv", picto_tv, "Apple TV", "TV set")]
    for name, p, l1, l2 in specs:
        for state in STATES:
            svg(f"{name}_{state}", 112, 50, device_button(p, l1, l2, state))


def actions():
    for state in STATES:
        svg(f"start_{state}", 101, 100, round_action_button(101, 100, "start", state))
        svg(f"stop_{state}", 87, 86, round_action_button(87, 86, "stop", state))


def qrc():
    lines = ['<!DOCTYPE RCC>', '<RCC version="1.0">', '<qresource prefix="/skin">']
    lines += [f'    <file>{n}</file>' for n in sorted(written)]
    lines += ['</qresource>', '</RCC>', '']
    with open(os.path.join(HERE, "pictures.qrc"), "w", encoding="utf-8") as f:
        f.write("\n".join(lines))


if __name__ == "__main__":
    main_background()
    intro()
    splash()
    process_background()
    about_background()
    notice_background()
    add_progress_panel()
    progress_fill()
    check_marks()
    scroll_parts()
    range_parts()
    toolbar()
    light_buttons()
    control_parts()
    devices()
    actions()
    qrc()
    print(f"{len(written)} pictures written")
