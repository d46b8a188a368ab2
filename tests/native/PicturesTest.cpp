// The pictures are linked in as ICON and BITMAP resources and handed to GDI
// as they are, so each must be exactly the DIB layout GDI reads: the title
// bar and the memo note paint their gradients from the bitmaps, the icons
// stand in the tray and the window titles over any background.
// The pictures are made by scripts/make-pictures.py.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Rgb {
    int r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

void PrintTo(const Rgb& c, std::ostream* out) { *out << "RGB(" << c.r << ", " << c.g << ", " << c.b << ")"; }

Bytes readPicture(const char* name) {
    std::ifstream in(std::string(SIBORANG_SOURCE_DIR "/resources/pictures/") + name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint32_t le(const Bytes& b, std::size_t at, int width) {
    std::uint32_t v = 0;
    for (int i = width - 1; i >= 0; --i) v = (v << 8) | b[at + static_cast<std::size_t>(i)];
    return v;
}

// An 8-bit DIB: BITMAPINFOHEADER, palette, then bottom-up rows padded to
// four bytes.  `error` is empty when everything the header promises lies
// inside the file, so the accessors below need no further checks.
struct Dib {
    std::string error;
    std::uint32_t headerSize = 0, compression = 0, coloursUsed = 0;
    std::int32_t width = 0, height = 0;
    std::uint16_t planes = 0, bits = 0;
    std::vector<Rgb> palette;
    const Bytes* file = nullptr;
    std::size_t pixelsAt = 0, stride = 0, rows = 0;

    // (x, y) counted from the top-left corner.
    int index(int x, int y) const {
        return (*file)[pixelsAt + (rows - 1 - static_cast<std::size_t>(y)) * stride + static_cast<std::size_t>(x)];
    }
    Rgb colour(int x, int y) const {
        const auto i = static_cast<std::size_t>(index(x, y));
        return i < palette.size() ? palette[i] : Rgb{-1, -1, -1};
    }
};

// `rows` differs from the header's height for icons, whose height counts
// the AND mask as well.
Dib parseDib(const Bytes& b, std::size_t at, std::size_t paletteSize, std::size_t rows) {
    Dib d;
    d.file = &b;
    if (b.size() < at + 40) {
        d.error = "file too short for BITMAPINFOHEADER";
        return d;
    }
    d.headerSize = le(b, at, 4);
    d.width = static_cast<std::int32_t>(le(b, at + 4, 4));
    d.height = static_cast<std::int32_t>(le(b, at + 8, 4));
    d.planes = static_cast<std::uint16_t>(le(b, at + 12, 2));
    d.bits = static_cast<std::uint16_t>(le(b, at + 14, 2));
    d.compression = le(b, at + 16, 4);
    d.coloursUsed = le(b, at + 32, 4);
    if (d.headerSize != 40 || d.bits != 8 || d.width <= 0 || d.width > 4096) {
        d.error = "not an 8-bit BITMAPINFOHEADER";
        return d;
    }
    const std::size_t paletteAt = at + 40;
    d.pixelsAt = paletteAt + 4 * paletteSize;
    d.stride = (static_cast<std::size_t>(d.width) + 3) & ~std::size_t{3};
    d.rows = rows;
    if (b.size() < d.pixelsAt + d.stride * rows) {
        d.error = "pixels run past the end of the file";
        return d;
    }
    for (std::size_t i = 0; i < paletteSize; ++i) {
        const std::size_t e = paletteAt + 4 * i; // RGBQUAD is blue, green, red, reserved
        d.palette.push_back({b[e + 2], b[e + 1], b[e]});
    }
    return d;
}

Dib failed(const char* why) {
    Dib d;
    d.error = why;
    return d;
}

// A BMP file: "BM", its size, and where the pixels start, which must be
// right after the palette the header declares.
Dib parseBmp(const Bytes& b) {
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return failed("not a BMP file");
    if (le(b, 2, 4) != b.size()) return failed("BMP size field is not the file size");
    const std::size_t colours = le(b, 46, 4);
    const auto height = static_cast<std::int32_t>(le(b, 22, 4));
    if (colours == 0 || colours > 256 || height <= 0 || height > 4096) return failed("bad palette size or height");
    Dib d = parseDib(b, 14, colours, static_cast<std::size_t>(height));
    if (d.error.empty() && le(b, 10, 4) != d.pixelsAt) d.error = "pixel offset does not follow the palette";
    return d;
}

constexpr Rgb kTitleLeft{0, 8, 255}, kTitleRight{0, 0, 16};
constexpr Rgb kNoteTop{0, 8, 247}, kNoteBottom{0, 0, 0};

TEST(Pictures, TitleIsAHorizontalGradientFromBlueToDark) {
    const Bytes file = readPicture("Title.bmp");
    const Dib d = parseBmp(file);
    ASSERT_EQ(d.error, "");
    EXPECT_EQ(d.width, 160);
    EXPECT_EQ(d.height, 18);
    EXPECT_EQ(d.planes, 1);
    EXPECT_EQ(d.compression, 0u) << "BI_RGB";
    EXPECT_EQ(d.coloursUsed, 34u);
    ASSERT_EQ(d.palette.size(), 34u);
    EXPECT_EQ(d.palette.front(), kTitleLeft);
    EXPECT_EQ(d.palette.back(), kTitleRight);
    ASSERT_EQ(d.width, 160);
    ASSERT_EQ(d.height, 18);

    for (int y = 1; y < 18; ++y)
        for (int x = 0; x < 160; ++x) ASSERT_EQ(d.index(x, y), d.index(x, 0)) << "column " << x << " row " << y;

    EXPECT_EQ(d.colour(0, 0), kTitleLeft);
    EXPECT_EQ(d.colour(159, 0), kTitleRight);
    std::vector<bool> used(34);
    for (int x = 0; x < 160; ++x) {
        ASSERT_LT(d.index(x, 0), 34) << "column " << x;
        used[static_cast<std::size_t>(d.index(x, 0))] = true;
        if (x == 0) continue;
        const Rgb left = d.colour(x - 1, 0), here = d.colour(x, 0);
        EXPECT_EQ(here.r, 0) << "column " << x;
        EXPECT_LE(here.b, left.b) << "column " << x << " gets bluer";
        EXPECT_LE(here.g, left.g) << "column " << x;
    }
    for (std::size_t i = 0; i < used.size(); ++i) EXPECT_TRUE(used[i]) << "palette entry " << i << " never shown";
}

TEST(Pictures, NoteIsADiagonalGradientFromBlueToBlack) {
    const Bytes file = readPicture("Note.bmp");
    const Dib d = parseBmp(file);
    ASSERT_EQ(d.error, "");
    EXPECT_EQ(d.planes, 1);
    EXPECT_EQ(d.compression, 0u) << "BI_RGB";
    EXPECT_EQ(d.coloursUsed, 36u);
    ASSERT_EQ(d.palette.size(), 36u);
    EXPECT_EQ(d.palette.front(), kNoteTop);
    EXPECT_EQ(d.palette.back(), kNoteBottom);
    ASSERT_EQ(d.width, 180);
    ASSERT_EQ(d.height, 180);

    EXPECT_EQ(d.colour(0, 0), kNoteTop);
    EXPECT_EQ(d.colour(179, 179), kNoteBottom);
    // Every anti-diagonal x + y = s is one colour, that of its cell on the top row
    // or, past the top-right corner, on the right-hand column.
    for (int y = 0; y < 180; ++y)
        for (int x = 0; x < 180; ++x) {
            const int s = x + y;
            const Rgb first = s < 180 ? d.colour(s, 0) : d.colour(179, s - 179);
            ASSERT_EQ(d.colour(x, y), first) << "at (" << x << ", " << y << ")";
        }
    for (int i = 1; i < 180; ++i) {
        const Rgb before = d.colour(i - 1, i - 1), here = d.colour(i, i);
        EXPECT_NE(here.r, -1) << "index past the palette at (" << i << ", " << i << ")";
        EXPECT_LE(here.b, before.b) << "gets bluer at (" << i << ", " << i << ")";
        EXPECT_LE(here.g, before.g) << "at (" << i << ", " << i << ")";
    }
}

// An ICO file holds one 256-colour image for each size a screen scale asks for, so none is
// stretched up from a smaller one: each an XOR bitmap (height field doubled, as icons
// require) followed by a 1-bit AND mask whose rows pad to four bytes.
// The sizes, largest first: the small icon's 16 pixels and the large one's 32 at every scale
// Windows offers up to 300%.
std::vector<int> iconSizes() {
    std::vector<int> sizes;
    for (const int scale : {100, 125, 150, 175, 200, 225, 250, 300})
        for (const int side : {16 * scale / 100, 32 * scale / 100})
            if (std::find(sizes.begin(), sizes.end(), side) == sizes.end()) sizes.push_back(side);
    std::sort(sizes.rbegin(), sizes.rend());
    return sizes;
}

struct Icon {
    int size = 0;
    Dib dib;
    std::size_t maskAt = 0;

    bool transparent(int x, int y) const {
        const Bytes& b = *dib.file;
        const std::size_t stride = static_cast<std::size_t>(size + 31) / 32 * 4;
        const std::size_t row = maskAt + static_cast<std::size_t>(size - 1 - y) * stride;
        return (b[row + static_cast<std::size_t>(x / 8)] & (0x80 >> (x % 8))) != 0;
    }
};

void checkIcons(const char* name, const Bytes& b, std::vector<Icon>& icons) {
    ASSERT_GE(b.size(), 6u) << "too short for an icon directory";
    EXPECT_EQ(le(b, 0, 2), 0u) << "reserved";
    EXPECT_EQ(le(b, 2, 2), 1u) << "type: icon";
    const std::size_t count = le(b, 4, 2);
    const std::vector<int> sizes = iconSizes();
    ASSERT_EQ(count, sizes.size()) << "one image for each size";
    ASSERT_GE(b.size(), 6 + 16 * count);
    std::size_t next = 6 + 16 * count;  // the images follow the directory, one after the other
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = 6 + 16 * i;
        const int size = sizes[i];
        EXPECT_EQ(b[entry], size) << "width";
        EXPECT_EQ(b[entry + 1], size) << "height";
        EXPECT_EQ(b[entry + 2], 0) << "colour count: 0 means 256";
        EXPECT_EQ(le(b, entry + 6, 2), 8u) << "bits per pixel";
        const std::size_t bytes = le(b, entry + 8, 4), at = le(b, entry + 12, 4);
        ASSERT_EQ(at, next) << name << " " << size;
        ASSERT_LE(at + bytes, b.size()) << name << ": image size and offset run past the file";
        next = at + bytes;

        Icon icon;
        icon.size = size;
        const auto side = static_cast<std::size_t>(size);
        const std::size_t xorBytes = (side + 3) / 4 * 4 * side, maskBytes = (side + 31) / 32 * 4 * side;
        icon.dib = parseDib(b, at, 256, side);
        ASSERT_EQ(icon.dib.error, "");
        EXPECT_EQ(icon.dib.width, size);
        EXPECT_EQ(icon.dib.height, 2 * size) << "XOR and AND bitmaps together";
        EXPECT_EQ(icon.dib.planes, 1);
        EXPECT_EQ(icon.dib.compression, 0u);
        EXPECT_TRUE(icon.dib.coloursUsed == 0 || icon.dib.coloursUsed == 256) << icon.dib.coloursUsed;
        icon.maskAt = icon.dib.pixelsAt + xorBytes;
        ASSERT_EQ(bytes, 40 + 256 * 4 + xorBytes + maskBytes) << "XOR bitmap plus AND mask";
        icons.push_back(icon);
    }
    EXPECT_EQ(next, b.size()) << name << ": bytes after the last image";
}

class IconPicture : public testing::TestWithParam<const char*> {};

TEST_P(IconPicture, EachSizeIn256ColoursWithATransparentSurround) {
    const Bytes file = readPicture(GetParam());
    std::vector<Icon> icons;
    checkIcons(GetParam(), file, icons);
    if (HasFatalFailure()) return;

    for (const Icon& icon : icons) {
        const int last = icon.size - 1, mid = icon.size / 2;
        for (const auto& [x, y] : {std::pair{0, 0}, {last, 0}, {0, last}, {last, last}})
            EXPECT_TRUE(icon.transparent(x, y)) << icon.size << " corner (" << x << ", " << y << ")";
        for (const auto& [x, y] : {std::pair{mid - 1, mid - 1}, {mid, mid}, {mid - 1, mid}, {mid, mid - 1}})
            EXPECT_FALSE(icon.transparent(x, y)) << icon.size << " centre (" << x << ", " << y << ")";

        // Where the mask lets the screen through, the XOR colour must be black,
        // or it would tint or invert whatever lies behind the icon.
        std::vector<Rgb> seen;
        for (int y = 0; y < icon.size; ++y)
            for (int x = 0; x < icon.size; ++x) {
                const Rgb c = icon.dib.colour(x, y);
                if (icon.transparent(x, y)) {
                    EXPECT_EQ(c, Rgb{}) << icon.size << " transparent pixel (" << x << ", " << y << ")";
                } else if (std::find(seen.begin(), seen.end(), c) == seen.end()) {
                    seen.push_back(c);
                }
            }
        EXPECT_GE(seen.size(), 8u) << icon.size << ": hardly a picture";
    }
}

INSTANTIATE_TEST_SUITE_P(Icons, IconPicture, testing::Values("Siborang.ico", "Mailbox.ico"),
                         [](const testing::TestParamInfo<const char*>& info) {
                             const std::string name = info.param;
                             return name.substr(0, name.find('.'));
                         });

// The clock is a round face at every size: everything well inside it shows,
// everything outside it lets the background through.
TEST(Pictures, ClockIconIsRound) {
    const Bytes file = readPicture("Siborang.ico");
    std::vector<Icon> icons;
    checkIcons("Siborang.ico", file, icons);
    if (HasFatalFailure()) return;
    for (const Icon& icon : icons) {
        const double scale = icon.size / 32.0, inside = 14.5 * scale - 0.5, outside = 16.5 * scale;
        for (int y = 0; y < icon.size; ++y)
            for (int x = 0; x < icon.size; ++x) {
                const double dx = x + 0.5 - icon.size / 2.0, dy = y + 0.5 - icon.size / 2.0, r2 = dx * dx + dy * dy;
                if (r2 <= inside * inside) {
                    EXPECT_FALSE(icon.transparent(x, y)) << icon.size << " hole at (" << x << ", " << y << ")";
                } else if (r2 >= outside * outside) {
                    EXPECT_TRUE(icon.transparent(x, y)) << icon.size << " shows at (" << x << ", " << y << ")";
                }
            }
    }
}

} // namespace
