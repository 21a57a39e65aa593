// Decodes the committed bitmaps and icons with a reader of its own, so a fault shared by the
// generator's writer and its tables cannot hide, and checks what the clock relies on.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

Bytes Load(const std::string& name) {
    std::ifstream in(std::filesystem::path(ASSETS_DIR) / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Little-endian field; at() makes a truncated file fail the test instead of reading past it.
std::uint32_t Field(const Bytes& bytes, std::size_t offset, std::size_t size = 4) {
    std::uint32_t value = 0;
    for (std::size_t i = size; i-- > 0;) value = value << 8U | bytes.at(offset + i);
    return value;
}

constexpr std::array<std::uint32_t, 16> kStandardPalette{0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                                         0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                                         0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

std::size_t Stride(int width, int bitsPerPixel) {
    return static_cast<std::size_t>((width * bitsPerPixel + 31) / 32 * 4);
}

// Palette indices, row 0 at the top.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> palette;  // 0xRRGGBB
    std::vector<int> pixels;
    int at(int x, int y) const { return pixels.at(static_cast<std::size_t>(y * width + x)); }
};

// A BITMAPINFOHEADER at `info`, 16 RGBQUADs after it, then bottom-up 4 bpp rows at `rows`.
Image Decode(const Bytes& bytes, std::size_t info, std::size_t rows, int height) {
    Image image;
    image.width = static_cast<int>(Field(bytes, info + 4));
    image.height = height;
    for (std::size_t i = 0; i < 16; ++i) image.palette.push_back(Field(bytes, info + 40 + 4 * i) & 0xFFFFFFU);
    for (int y = 0; y < height; ++y) {
        const std::size_t row = rows + static_cast<std::size_t>(height - 1 - y) * Stride(image.width, 4);
        for (int x = 0; x < image.width; ++x) {
            const unsigned byte = bytes.at(row + static_cast<std::size_t>(x / 2));
            image.pixels.push_back(static_cast<int>(x % 2 == 0 ? byte >> 4U : byte & 0xFU));
        }
    }
    return image;
}

// Checks the file and info headers, then decodes.
Image LoadBitmap(const std::string& name, int width) {
    SCOPED_TRACE(name);
    const Bytes bytes = Load(name);
    EXPECT_EQ(bytes.size(), 118 + Stride(width, 4) * 27);
    EXPECT_EQ(Field(bytes, 0, 2), 0x4D42U);  // "BM"
    EXPECT_EQ(Field(bytes, 2), bytes.size());
    EXPECT_EQ(Field(bytes, 10), 118U);  // pixels right after the palette
    EXPECT_EQ(Field(bytes, 14), 40U);
    EXPECT_EQ(Field(bytes, 18), static_cast<std::uint32_t>(width));
    EXPECT_EQ(Field(bytes, 22), 27U);  // positive height: bottom-up
    EXPECT_EQ(Field(bytes, 26, 2), 1U);
    EXPECT_EQ(Field(bytes, 28, 2), 4U);
    EXPECT_EQ(Field(bytes, 30), 0U);  // BI_RGB
    const Image image = Decode(bytes, 14, 118, 27);
    EXPECT_TRUE(std::equal(kStandardPalette.begin(), kStandardPalette.end(), image.palette.begin()));
    return image;
}

struct Colour {
    std::string suffix;
    int bright;
    int dark;
};
const std::array<Colour, 3> kColours{{{"0", 9, 1}, {"1", 10, 2}, {"2", 14, 6}}};

// Each segment: one pixel inside it with x + y even and one with x + y odd, the parity its unlit
// checker keeps dark, its pixel count, and how many of those are dark when unlit (counted by hand).
struct Segment {
    char name;
    int evenX, evenY, oddX, oddY;
    int checker;
    int pixels;
    int darkWhenUnlit;
};
constexpr std::array<Segment, 7> kSegments{{
    {'a', 8, 2, 9, 2, 1, 32, 16},
    {'b', 15, 7, 15, 8, 0, 26, 13},
    {'c', 15, 19, 15, 18, 1, 26, 13},
    {'d', 8, 24, 9, 24, 1, 32, 16},
    {'e', 2, 18, 2, 19, 0, 26, 13},
    {'f', 2, 8, 2, 7, 1, 26, 13},
    {'g', 9, 13, 8, 13, 0, 32, 16},
}};
// Glyph 10 is the blank one: everything unlit, so 100 dark pixels and no bright ones.
constexpr std::array<std::string_view, 11> kLit{"abcdef", "bc",  "abdeg",   "abcdg",  "bcfg", "acdfg",
                                                "acdefg", "abc", "abcdefg", "abcdfg", ""};

TEST(DigitStrips, EveryGlyphShowsItsSegmentsLitOrCheckered) {
    for (const Colour& colour : kColours) {
        const Image strip = LoadBitmap("color" + colour.suffix + ".bmp", 198);
        for (int glyph = 0; glyph < 11; ++glyph) {
            SCOPED_TRACE("colour " + colour.suffix + ", glyph " + std::to_string(glyph));
            const int left = 18 * glyph;
            const auto pixel = [&](int x, int y) { return strip.at(left + x, y); };
            int bright = 0, dark = 0, wantBright = 0, wantDark = 0, border = 0;
            for (int y = 0; y < 27; ++y) {
                for (int x = 0; x < 18; ++x) {
                    const int p = pixel(x, y);
                    EXPECT_TRUE(p == 0 || p == colour.bright || p == colour.dark) << x << "," << y;
                    bright += p == colour.bright ? 1 : 0;
                    dark += p == colour.dark ? 1 : 0;
                    if (x == 0 || x == 17 || y == 0 || y == 26) border += p;
                }
            }
            EXPECT_EQ(border, 0);
            for (const Segment& s : kSegments) {
                SCOPED_TRACE(std::string("segment ") + s.name);
                if (kLit[static_cast<std::size_t>(glyph)].find(s.name) != std::string_view::npos) {
                    EXPECT_EQ(pixel(s.evenX, s.evenY), colour.bright);
                    EXPECT_EQ(pixel(s.oddX, s.oddY), colour.bright);
                    wantBright += s.pixels;
                } else {
                    EXPECT_EQ(pixel(s.evenX, s.evenY), s.checker == 0 ? colour.dark : 0);
                    EXPECT_EQ(pixel(s.oddX, s.oddY), s.checker == 1 ? colour.dark : 0);
                    wantDark += s.darkWhenUnlit;
                }
            }
            EXPECT_EQ(bright, wantBright);
            EXPECT_EQ(dark, wantDark);
        }
    }
}

TEST(ColonBitmaps, DotsAreBrightWhenLitAndCheckeredWhenUnlit) {
    for (const Colour& colour : kColours) {
        const Image lit = LoadBitmap("punto" + colour.suffix + ".bmp", 5);
        const Image unlit = LoadBitmap("punto1_" + colour.suffix + ".bmp", 5);
        for (int y = 0; y < 27; ++y) {
            for (int x = 0; x < 5; ++x) {
                SCOPED_TRACE("colour " + colour.suffix + " at " + std::to_string(x) + "," + std::to_string(y));
                const bool dot = x >= 1 && x <= 3 && ((y >= 7 && y <= 9) || (y >= 17 && y <= 19));
                EXPECT_EQ(lit.at(x, y), dot ? colour.bright : 0);
                EXPECT_EQ(unlit.at(x, y), dot && (x + y) % 2 == 0 ? colour.dark : 0);
            }
        }
    }
}

// Colours each icon must show; the layout itself is artwork.
struct Icon {
    std::string file;
    std::set<int> colours;
};

TEST(Icons, AreSingleSixteenColourImagesWithConsistentMasks) {
    for (const Icon& icon : {Icon{"esmalvio.ico", {7, 9, 11}}, Icon{"fusi.ico", {0, 1, 8, 9, 15}}}) {
        SCOPED_TRACE(icon.file);
        const Bytes bytes = Load(icon.file);
        EXPECT_EQ(bytes.size(), 766U);
        EXPECT_EQ(Field(bytes, 0, 2), 0U);
        EXPECT_EQ(Field(bytes, 2, 2), 1U);        // icon, not cursor
        EXPECT_EQ(Field(bytes, 4, 2), 1U);        // one image
        EXPECT_EQ(Field(bytes, 6), 0x00102020U);  // 32 x 32, 16 colours, reserved 0
        EXPECT_EQ(Field(bytes, 10, 2), 1U);
        EXPECT_EQ(Field(bytes, 12, 2), 4U);
        EXPECT_EQ(Field(bytes, 14), 744U);
        EXPECT_EQ(Field(bytes, 18), 22U);
        EXPECT_EQ(Field(bytes, 22), 40U);
        EXPECT_EQ(Field(bytes, 26), 32U);
        EXPECT_EQ(Field(bytes, 30), 64U);  // colour bitmap plus mask
        EXPECT_EQ(Field(bytes, 36, 2), 4U);
        EXPECT_EQ(Field(bytes, 38), 0U);
        const Image image = Decode(bytes, 22, 126, 32);
        EXPECT_TRUE(std::equal(kStandardPalette.begin(), kStandardPalette.end(), image.palette.begin()));

        std::set<int> shown;
        int transparent = 0;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                const std::size_t maskByte =
                    638 + static_cast<std::size_t>(31 - y) * 4 + static_cast<std::size_t>(x / 8);
                if ((bytes.at(maskByte) >> (7 - x % 8) & 1U) != 0) {
                    ++transparent;
                    // A non-black pixel under the mask would invert the desktop behind it.
                    EXPECT_EQ(image.at(x, y), 0) << x << "," << y;
                } else {
                    shown.insert(image.at(x, y));
                }
            }
        }
        EXPECT_LT(transparent, 32 * 32 / 4);
        EXPECT_TRUE(std::includes(shown.begin(), shown.end(), icon.colours.begin(), icon.colours.end()));
    }
}

}  // namespace
