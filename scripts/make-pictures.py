#!/usr/bin/env python3
"""Draws Siborang's pictures into resources/pictures/.

  Siborang.ico  256 colours, drawn at every size from 16 to 96 pixels square
                that a screen scaled 100% to 300% asks for, so no scale
                stretches a smaller image: a round clock face in a blue rim,
                hour marks, two hands at ten past ten and a red centre cap.
  Mailbox.ico   the same sizes: a blue mailbox with a rounded top on a wooden
                post, its red flag raised.
  Title.bmp     160 x 18, 34 colours: blue-to-dark horizontal gradient.
  Note.bmp      180 x 180, 36 colours: blue-to-black diagonal gradient.

Everything is drawn here from shapes; only the standard library is used.
The output depends on nothing but this file, so running it again gives the
same bytes.
"""

import math
import os
import struct

OUT_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "pictures")

SIZE = 32  # the size the shapes are drawn in; other sizes sample them scaled
# Windows asks for the small icon (16 px at 100%: the tray, the window titles) and the large one
# (32 px: the taskbar, the pictures in the windows) scaled to the screen, at each scale Windows
# offers up to 300% (it has no 275%).
SCALES = (100, 125, 150, 175, 200, 225, 250, 300)
ICON_SIZES = tuple(sorted({base * scale // 100 for base in (16, 32) for scale in SCALES}, reverse=True))
SUB = 8  # samples per pixel side: smooth edges without an alpha channel

# ----------------------------------------------------------------------------
# Shapes as signed distances (negative inside), in pixel units, y downwards.


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def box(x0, y0, x1, y1, r=0.0):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def d(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        return math.hypot(max(qx, 0.0), max(qy, 0.0)) + min(max(qx, qy), 0.0) - r
    return d


def segment(ax, ay, bx, by, r):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy

    def d(x, y):
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
        return math.hypot(x - ax - t * dx, y - ay - t * dy) - r
    return d


def union(*shapes):
    return lambda x, y: min(s(x, y) for s in shapes)


def minus(a, b):
    return lambda x, y: max(a(x, y), -b(x, y))


def grown(shape, by):
    return lambda x, y: shape(x, y) - by


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def vertical(top_colour, bottom_colour, y0, y1):
    return lambda x, y: mix(top_colour, bottom_colour, (y - y0) / (y1 - y0))


def solid(colour):
    return lambda x, y: colour

# ----------------------------------------------------------------------------
# Rendering: layers painted in order; a pixel is opaque when at least half of
# its samples are covered, and takes the mean colour of the covered samples
# only (the 1-bit mask leaves nothing to blend against).


def render(layers, size=SIZE):
    scale = SIZE / size
    pixels = []
    for py in range(size):
        row = []
        for px in range(size):
            total = [0.0, 0.0, 0.0]
            covered = 0
            for sy in range(SUB):
                y = (py + (sy + 0.5) / SUB) * scale
                for sx in range(SUB):
                    x = (px + (sx + 0.5) / SUB) * scale
                    colour = None
                    for shape, paint in layers:
                        if shape(x, y) <= 0:
                            colour = paint(x, y)
                    if colour is not None:
                        covered += 1
                        for i in range(3):
                            total[i] += colour[i]
            if covered * 2 >= SUB * SUB:
                row.append(tuple(min(255, max(0, int(c / covered + 0.5))) for c in total))
            else:
                row.append(None)
        pixels.append(row)
    return pixels


def outlined(shape, fill, line, width):
    """The shape in its outline colour, then its fill inset by the width."""
    return [(shape, solid(line)), (grown(shape, -width), fill)]

# ----------------------------------------------------------------------------
# The clock.


def clock_layers():
    c = 16.0
    navy = (12, 22, 78)
    layers = []
    layers.append((circle(c, c, 15.6), solid(navy)))
    layers.append((circle(c, c, 14.7), vertical((96, 146, 255), (18, 44, 170), 1.5, 30.5)))
    layers.append((circle(c, c, 12.9), solid((20, 34, 96))))
    face = circle(c, c, 12.1)
    layers.append((face, lambda x, y: mix((255, 255, 255), (214, 222, 238),
                                          (math.hypot(x - 11, y - 11)) / 20)))
    mark = (24, 34, 80)
    for hour in range(12):
        a = math.radians(hour * 30)
        sx, sy = math.sin(a), -math.cos(a)
        if hour % 3 == 0:
            layers.append((segment(c + sx * 8.9, c + sy * 8.9, c + sx * 10.6, c + sy * 10.6, 0.85),
                           solid(mark)))
        else:
            layers.append((circle(c + sx * 10.1, c + sy * 10.1, 0.72), solid((70, 84, 130))))
    hand = (16, 22, 48)
    # Ten past ten: the hour hand a sixth of the way from ten to eleven.
    ha = math.radians(305)
    ma = math.radians(60)
    layers.append((segment(c, c, c + math.sin(ha) * 6.2, c - math.cos(ha) * 6.2, 1.15), solid(hand)))
    layers.append((segment(c, c, c + math.sin(ma) * 9.2, c - math.cos(ma) * 9.2, 0.8), solid(hand)))
    layers += outlined(circle(c, c, 1.9), solid((226, 36, 36)), hand, 0.55)
    return layers

# ----------------------------------------------------------------------------
# The mailbox: seen at an angle, its arched front door on the left and its
# long side running to the right; the post below, the flag up at the back.


def mailbox_layers():
    line = (18, 24, 52)
    w = 0.9
    layers = []

    post = box(13.0, 19.0, 19.0, 31.4, 0.6)
    layers += outlined(post, lambda x, y: mix((176, 112, 60), (112, 66, 32), (x - 13.5) / 5.0), line, w)

    # The body: the arch swept back from the door to the rear end.
    r, top, bottom = 5.2, 8.4, 22.4
    fx, bx = 7.2, 23.4
    arch = lambda cx: union(circle(cx, top + r, r), box(cx - r, top + r, cx + r, bottom))
    body = union(arch(fx), arch(bx), box(fx, top, bx, bottom))
    # Light along the rounded top, darker towards the floor of the box.
    side = lambda x, y: mix((120, 170, 255), (26, 60, 172), (y - top - 1.5) / (bottom - top - 2.0))
    layers += outlined(body, side, line, w)
    # A highlight running along the top.
    layers.append((segment(fx + 2.0, top + 2.4, bx - 0.5, top + 2.4, 0.55), solid((200, 222, 255))))

    # The front door, a bit lighter, with a handle.
    door = arch(fx)
    layers += outlined(door, vertical((150, 192, 255), (60, 104, 214), top, bottom), line, w)
    layers.append((segment(fx - 1.3, top + 3.4, fx + 1.3, top + 3.4, 0.7), solid(line)))

    # The flag, raised: a pole on the side of the box and a red pennant.
    pole = segment(21.0, 17.0, 21.0, 1.6, 0.8)
    layers.append((pole, solid(line)))
    flag = box(20.4, 0.6, 29.4, 6.0, 0.5)
    layers += outlined(flag, vertical((255, 90, 72), (196, 18, 18), 0.6, 6.0), line, w)
    layers.append((circle(21.0, 16.6, 1.15), solid(line)))
    return layers

# ----------------------------------------------------------------------------
# Colour reduction to at most 255 entries (entry 0 stays black for the
# transparent pixels): median cut, with ties broken by the colours themselves
# so the result never varies.


def reduce_colours(colours, limit):
    unique = sorted(set(colours))
    if len(unique) <= limit:
        return unique, {c: c for c in unique}
    boxes = [sorted(colours)]
    while len(boxes) < limit:
        best = None
        for i, b in enumerate(boxes):
            if len(set(b)) < 2:
                continue
            spans = [max(c[k] for c in b) - min(c[k] for c in b) for k in range(3)]
            key = (max(spans), len(b), -i)
            if best is None or key > best[0]:
                best = (key, i, spans.index(max(spans)))
        if best is None:
            break
        _, i, axis = best
        b = sorted(boxes[i], key=lambda c: (c[axis], c))
        half = len(b) // 2
        # Split between distinct colours so each part stays non-empty.
        while half < len(b) and b[half] == b[half - 1]:
            half += 1
        if half == len(b):
            half = len(b) // 2
            while half > 0 and b[half] == b[half - 1]:
                half -= 1
        boxes[i:i + 1] = [b[:half], b[half:]]
    mapping = {}
    palette = []
    for b in boxes:
        mean = tuple(int(sum(c[k] for c in b) / len(b) + 0.5) for k in range(3))
        palette.append(mean)
        for c in b:
            mapping[c] = mean
    return sorted(set(palette)), mapping

# ----------------------------------------------------------------------------
# File writers.


def info_header(width, height, bits, image_size, colours_used):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, image_size, 0, 0,
                       colours_used, 0)


def rgbquads(palette):
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)


def icon_image(pixels):
    """One icon image: its 256-colour XOR bitmap and AND mask, bottom-up."""
    size = len(pixels)
    colours = [p for row in pixels for p in row if p is not None]
    palette, mapping = reduce_colours(colours, 255)
    palette = [(0, 0, 0)] + palette
    index = {c: i for i, c in enumerate(palette)}
    palette += [(0, 0, 0)] * (256 - len(palette))

    xor = bytearray()
    mask = bytearray()
    for row in reversed(pixels):  # bottom-up
        for p in row:
            xor.append(0 if p is None else index[mapping[p]])
        xor += bytes(-size % 4)  # rows pad to 4 bytes
        stride = (size + 31) // 32 * 4
        bits = 0
        for x, p in enumerate(row):
            if p is None:
                bits |= 1 << (stride * 8 - 1 - x)
        mask += bits.to_bytes(stride, "big")
    return info_header(size, size * 2, 8, len(xor) + len(mask), 0) + rgbquads(palette) + xor + mask


def icon_bytes(layers):
    images = [(size, icon_image(render(layers, size))) for size in ICON_SIZES]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in images:
        directory += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 8, len(image), offset)
        offset += len(image)
    return directory + b"".join(image for _, image in images)


def bmp_bytes(width, height, palette, index_at):
    stride = (width + 3) & ~3
    data = bytearray()
    for y in reversed(range(height)):  # bottom-up
        row = bytearray(index_at(x, y) for x in range(width))
        data += row + bytes(stride - width)
    header_size = 14 + 40 + 4 * len(palette)
    file_header = struct.pack("<2sIHHI", b"BM", header_size + len(data), 0, 0, header_size)
    return file_header + info_header(width, height, 8, len(data), len(palette)) + rgbquads(palette) + data


def gradient_palette(first, last, count):
    return [tuple(int(first[k] + (last[k] - first[k]) * i / (count - 1) + 0.5) for k in range(3))
            for i in range(count)]


def write(name, data):
    path = os.path.join(OUT_DIR, name)
    with open(path, "wb") as f:
        f.write(data)
    print("wrote", os.path.normpath(path), len(data), "bytes")


def main():
    os.makedirs(OUT_DIR, exist_ok=True)
    write("Siborang.ico", icon_bytes(clock_layers()))
    write("Mailbox.ico", icon_bytes(mailbox_layers()))

    title = gradient_palette((0, 8, 255), (0, 0, 16), 34)
    write("Title.bmp", bmp_bytes(160, 18, title, lambda x, y: int(x * 33 / 159 + 0.5)))

    note = gradient_palette((0, 8, 247), (0, 0, 0), 36)
    write("Note.bmp", bmp_bytes(180, 180, note, lambda x, y: int((x + y) * 35 / 358 + 0.5)))


if __name__ == "__main__":
    main()
