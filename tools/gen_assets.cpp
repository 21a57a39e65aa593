// Writes the clock's digit strips, colon bitmaps and icons into a folder, so the
// committed assets can be rebuilt and checked rather than edited by hand.
// Usage: gen_assets <output-folder>

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Rgb {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
};

// The standard 16-colour palette, in the order the bitmaps index it.
constexpr std::array<Rgb, 16> kPalette{{
    {0, 0, 0},        // 0 black
    {128, 0, 0},      // 1 dark red
    {0, 128, 0},      // 2 dark green
    {128, 128, 0},    // 3 olive
    {0, 0, 128},      // 4 navy
    {128, 0, 128},    // 5 purple
    {0, 128, 128},    // 6 teal
    {192, 192, 192},  // 7 silver
    {128, 128, 128},  // 8 grey
    {255, 0, 0},      // 9 red
    {0, 255, 0},      // 10 green
    {255, 255, 0},    // 11 yellow
    {0, 0, 255},      // 12 blue
    {255, 0, 255},    // 13 magenta
    {0, 255, 255},    // 14 cyan
    {255, 255, 255},  // 15 white
}};

constexpr std::uint8_t kBlack = 0;
// Not a palette entry: marks icon pixels that let the desktop show through.
constexpr std::uint8_t kTransparent = 16;

struct Shade {
    std::uint8_t bright;
    std::uint8_t dark;
};

// Red, green, cyan: the three display colours, in menu order.
constexpr std::array<Shade, 3> kShades{{{9, 1}, {10, 2}, {14, 6}}};

// Palette indices, row 0 at the top.
class Picture {
public:
    Picture(int width, int height)
        : width_(width), height_(height), pixels_(static_cast<std::size_t>(width * height), kBlack) {}

    int width() const { return width_; }
    int height() const { return height_; }
    std::uint8_t at(int x, int y) const { return pixels_[Index(x, y)]; }
    void Set(int x, int y, std::uint8_t colour) { pixels_[Index(x, y)] = colour; }

private:
    std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y * width_ + x); }

    int width_;
    int height_;
    std::vector<std::uint8_t> pixels_;
};

// ---- Digit strips and colons -------------------------------------------------

constexpr int kGlyphWidth = 18;
constexpr int kGlyphHeight = 27;
constexpr int kGlyphCount = 11;  // digits 0-9, then the blank glyph

struct Rect {  // inclusive bounds
    int x0;
    int x1;
    int y0;
    int y1;
};

struct Segment {
    char name;
    int checker;  // unlit pixels with (x + y) % 2 == checker are dark, the rest black
    std::array<Rect, 3> parts;
};

// Each segment's pixels within a glyph, from its top-left corner; row 0, row 26, column 0 and
// column 17 stay black so neighbouring glyphs never touch.
constexpr std::array<Segment, 7> kSegments{{
    {'a', 1, {{{4, 13, 1, 1}, {3, 14, 2, 2}, {4, 13, 3, 3}}}},
    {'b', 0, {{{15, 15, 3, 3}, {14, 16, 4, 11}, {15, 15, 12, 12}}}},
    {'c', 1, {{{15, 15, 14, 14}, {14, 16, 15, 22}, {15, 15, 23, 23}}}},
    {'d', 1, {{{4, 13, 23, 23}, {3, 14, 24, 24}, {4, 13, 25, 25}}}},
    {'e', 0, {{{2, 2, 14, 14}, {1, 3, 15, 22}, {2, 2, 23, 23}}}},
    {'f', 1, {{{2, 2, 3, 3}, {1, 3, 4, 11}, {2, 2, 12, 12}}}},
    {'g', 0, {{{4, 13, 12, 12}, {3, 14, 13, 13}, {4, 13, 14, 14}}}},
}};

// Segments lit in glyph n; the blank glyph lights none.
constexpr std::array<std::string_view, kGlyphCount> kLitSegments{"abcdef", "bc",  "abdeg",   "abcdg",  "bcfg", "acdfg",
                                                                 "acdefg", "abc", "abcdefg", "abcdfg", ""};

void DrawGlyph(Picture& strip, int glyph, Shade shade) {
    const int left = kGlyphWidth * glyph;
    const std::string_view lit = kLitSegments[static_cast<std::size_t>(glyph)];
    for (const Segment& segment : kSegments) {
        const bool on = lit.find(segment.name) != std::string_view::npos;
        for (const Rect& part : segment.parts) {
            for (int y = part.y0; y <= part.y1; ++y) {
                for (int x = part.x0; x <= part.x1; ++x) {
                    if (on) {
                        strip.Set(left + x, y, shade.bright);
                    } else if ((x + y) % 2 == segment.checker) {
                        strip.Set(left + x, y, shade.dark);
                    }
                }
            }
        }
    }
}

Picture DigitStrip(Shade shade) {
    Picture strip(kGlyphWidth * kGlyphCount, kGlyphHeight);
    for (int glyph = 0; glyph < kGlyphCount; ++glyph) DrawGlyph(strip, glyph, shade);
    return strip;
}

// Two 3 x 3 dots; unlit, only the corners and centre of each dot show.
Picture Colon(Shade shade, bool lit) {
    Picture colon(5, kGlyphHeight);
    for (const int top : {7, 17}) {
        for (int y = top; y < top + 3; ++y) {
            for (int x = 1; x <= 3; ++x) {
                if (lit) {
                    colon.Set(x, y, shade.bright);
                } else if ((x + y) % 2 == 0) {
                    colon.Set(x, y, shade.dark);
                }
            }
        }
    }
    return colon;
}

// ---- Icons -------------------------------------------------------------------

constexpr int kIconSize = 32;
using IconArt = std::array<std::string_view, kIconSize>;

// One character per palette index, in palette order; a space is transparent.
constexpr std::string_view kArtLegend = "KrgonpcSGRLYBMCW";

constexpr bool IsValidArt(const IconArt& art) {
    for (const std::string_view row : art) {
        if (row.size() != kIconSize) return false;
        for (const char c : row) {
            if (c != ' ' && kArtLegend.find(c) == std::string_view::npos) return false;
        }
    }
    return true;
}

// Clock window: red face in a bevelled light-grey frame, yellow marks and hands.
// clang-format off
constexpr IconArt kClockIcon{{
    " KKKKKKKKKKKKKKKKKKKKKKKKKKKKKK ",
    "KWWWWWWWWWWWWWWWWWWWWWWWWWWWWWGK",
    "KWSSSSSSSSSSSSSSSSSSSSSSSSSSSSGK",
    "KWSSSSSSSSSSSSSSSSSSSSSSSSSSSSGK",
    "KWSSGGGGGGGGGGGGGGGGGGGGGGGGSSGK",
    "KWSSGrrrrrrrrrrrrrrrrrrrrrrWSSGK",
    "KWSSGrRRRRRRRRRRRRRRRRRRRRRWSSGK",
    "KWSSGrRRRRRRRRRYYRRRRRRRRRRWSSGK",
    "KWSSGrRRRRRRRRRYYRRRRRRRRRRWSSGK",
    "KWSSGrRRRRRRRRRYYRRRRRYYRRRWSSGK",
    "KWSSGrRRRRRRRRRRRRRRRYYRRRRWSSGK",
    "KWSSGrRRRRYYRRRRRRRRYYRRRRRWSSGK",
    "KWSSGrRRRRRYYRRRRRRYYRRRRRRWSSGK",
    "KWSSGrRRRRRRYYRRRRYYRRRRRRRWSSGK",
    "KWSSGrRRRRRRRYYRRYYRRRRRRRRWSSGK",
    "KWSSGrRYYYRRRRRYYRRRRRYYYRRWSSGK",
    "KWSSGrRYYYRRRRRYYRRRRRYYYRRWSSGK",
    "KWSSGrRRRRRRRRRRRRRRRRRRRRRWSSGK",
    "KWSSGrRRRRRRRRRRRRRRRRRRRRRWSSGK",
    "KWSSGrRRRRRRRRRRRRRRRRRRRRRWSSGK",
    "KWSSGrRRRRRRRRRRRRRRRRRRRRRWSSGK",
    "KWSSGrRRRRRRRRRRRRRRRRRRRRRWSSGK",
    "KWSSGrRRRRRRRRRYYRRRRRRRRRRWSSGK",
    "KWSSGrRRRRRRRRRYYRRRRRRRRRRWSSGK",
    "KWSSGrRRRRRRRRRYYRRRRRRRRRRWSSGK",
    "KWSSGrRRRRRRRRRRRRRRRRRRRRRWSSGK",
    "KWSSGrRRRRRRRRRRRRRRRRRRRRRWSSGK",
    "KWSSGWWWWWWWWWWWWWWWWWWWWWWWSSGK",
    "KWSSSSSSSSSSSSSSSSSSSSSSSSSSSSGK",
    "KWSSSSSSSSSSSSSSSSSSSSSSSSSSSSGK",
    "KWGGGGGGGGGGGGGGGGGGGGGGGGGGGGGK",
    " KKKKKKKKKKKKKKKKKKKKKKKKKKKKKK ",
}};
// clang-format on

// Zone dialog: white face with black marks, hands at three o'clock, red second hand towards
// half past seven, checkered red frame and a grey drop shadow.
// clang-format off
constexpr IconArt kZoneIcon{{
    "rRrRrRrRrRrRrRrRrRrRrRrRrRrRrR  ",
    "RrRrRrRrRrRrRrRrRrRrRrRrRrRrRr  ",
    "rRrRrRrRrRrRrRrRrRrRrRrRrRrRrRGG",
    "RrRWWWWWWWWWWWWWWWWWWWWWWWWrRrGG",
    "rRrWWWWWWWWWWWKKWWWWWWWWWWWRrRGG",
    "RrRWWWWWWWWWWWKKWWWWWWWWWWWrRrGG",
    "rRrWWWWWWWWWWWKKWWWWWWWWWWWRrRGG",
    "RrRWWWWWWWWWWWWWWWWWWWWWWWWrRrGG",
    "rRrWWWWWWWWWWWKKWWWWWWWWWWWRrRGG",
    "RrRWWWWWWWWWWWKKWWWWWWWWWWWrRrGG",
    "rRrWWWWWWWWWWWKKWWWWWWWWWWWRrRGG",
    "RrRWWWWWWWWWWWKKWWWWWWWWWWWrRrGG",
    "rRrWWWWWWWWWWWKKWWWWWWWWWWWRrRGG",
    "RrRWWWWWWWWWWWKKWWWWWWWWWWWrRrGG",
    "rRrWKKKWWWWWWWKKKKKKKWWKKKWRrRGG",
    "RrRWKKKWWWWWWWKKKKKKKWWKKKWrRrGG",
    "rRrWWWWWWWWWWRWWWWWWWWWWWWWRrRGG",
    "RrRWWWWWWWWWRWWWWWWWWWWWWWWrRrGG",
    "rRrWWWWWWWWRWWWWWWWWWWWWWWWRrRGG",
    "RrRWWWWWWWRWWWWWWWWWWWWWWWWrRrGG",
    "rRrWWWWWWRWWWWWWWWWWWWWWWWWRrRGG",
    "RrRWWWWWRWWWWWWWWWWWWWWWWWWrRrGG",
    "rRrWWWWRWWWWWWWWWWWWWWWWWWWRrRGG",
    "RrRWWWWWWWWWWWKKWWWWWWWWWWWrRrGG",
    "rRrWWWWWWWWWWWKKWWWWWWWWWWWRrRGG",
    "RrRWWWWWWWWWWWKKWWWWWWWWWWWrRrGG",
    "rRrWWWWWWWWWWWWWWWWWWWWWWWWRrRGG",
    "RrRrRrRrRrRrRrRrRrRrRrRrRrRrRrGG",
    "rRrRrRrRrRrRrRrRrRrRrRrRrRrRrRGG",
    "RrRrRrRrRrRrRrRrRrRrRrRrRrRrRrGG",
    "  GGGGGGGGGGGGGGGGGGGGGGGGGGGGGG",
    "  GGGGGGGGGGGGGGGGGGGGGGGGGGGGGG",
}};
// clang-format on

static_assert(IsValidArt(kClockIcon) && IsValidArt(kZoneIcon));

Picture FromArt(const IconArt& art) {
    Picture picture(kIconSize, kIconSize);
    for (int y = 0; y < kIconSize; ++y) {
        for (int x = 0; x < kIconSize; ++x) {
            const char c = art[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
            picture.Set(x, y, c == ' ' ? kTransparent : static_cast<std::uint8_t>(kArtLegend.find(c)));
        }
    }
    return picture;
}

// ---- Encoding ----------------------------------------------------------------

void Put16(Bytes& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFFU));
    out.push_back(static_cast<std::uint8_t>((value >> 8U) & 0xFFU));
}

void Put32(Bytes& out, std::uint32_t value) {
    Put16(out, value & 0xFFFFU);
    Put16(out, value >> 16U);
}

// Device-independent rows are padded to whole 32-bit words.
std::uint32_t RowBytes(int width, int bitsPerPixel) {
    return static_cast<std::uint32_t>((width * bitsPerPixel + 31) / 32 * 4);
}

// Packs rows bottom-up, leftmost pixel in the most significant bits.
void PutRows(Bytes& out, int width, int height, int bitsPerPixel, const std::function<unsigned(int, int)>& value) {
    const int perByte = 8 / bitsPerPixel;
    for (int y = height - 1; y >= 0; --y) {
        const std::size_t rowStart = out.size();
        out.resize(rowStart + RowBytes(width, bitsPerPixel), 0);
        for (int x = 0; x < width; ++x) {
            const int shift = 8 - bitsPerPixel * (x % perByte + 1);
            out[rowStart + static_cast<std::size_t>(x / perByte)] |= static_cast<std::uint8_t>(value(x, y) << shift);
        }
    }
}

constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kPaletteSize = 16 * 4;

void PutInfoHeader(Bytes& out, int width, int height, std::uint32_t imageSize) {
    Put32(out, kInfoHeaderSize);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(height));  // positive: bottom-up
    Put16(out, 1);                                   // planes
    Put16(out, 4);                                   // bits per pixel
    Put32(out, 0);                                   // BI_RGB
    Put32(out, imageSize);
    Put32(out, 0);  // horizontal resolution: unspecified
    Put32(out, 0);  // vertical resolution: unspecified
    Put32(out, 0);  // colours used: all 16
    Put32(out, 0);  // important colours: all
    for (const Rgb& colour : kPalette) {
        out.insert(out.end(), {colour.blue, colour.green, colour.red, 0});
    }
}

Bytes EncodeBitmap(const Picture& picture) {
    constexpr std::uint32_t kFileHeaderSize = 14;
    constexpr std::uint32_t kPixelsOffset = kFileHeaderSize + kInfoHeaderSize + kPaletteSize;
    const std::uint32_t imageSize = RowBytes(picture.width(), 4) * static_cast<std::uint32_t>(picture.height());
    Bytes out;
    out.insert(out.end(), {'B', 'M'});
    Put32(out, kPixelsOffset + imageSize);
    Put32(out, 0);  // reserved
    Put32(out, kPixelsOffset);
    PutInfoHeader(out, picture.width(), picture.height(), imageSize);
    PutRows(out, picture.width(), picture.height(), 4, [&](int x, int y) { return unsigned{picture.at(x, y)}; });
    return out;
}

// The design enlarged k times, each pixel becoming a k x k block, so it stays sharp at k times the
// usual size on screen.
Picture Scaled(const Picture& picture, int k) {
    Picture scaled(picture.width() * k, picture.height() * k);
    for (int y = 0; y < scaled.height(); ++y) {
        for (int x = 0; x < scaled.width(); ++x) scaled.Set(x, y, picture.at(x / k, y / k));
    }
    return scaled;
}

// Bytes of one icon image after its header and palette: colour bitmap and mask.
std::uint32_t IconBitsSize(int size) {
    return (RowBytes(size, 4) + RowBytes(size, 1)) * static_cast<std::uint32_t>(size);
}

// The 32 x 32 design at 100 %, 200 % and 300 %. Each 16-colour image: colour (XOR) bitmap, then the 1 bpp
// transparency (AND) mask, which is why its header declares twice the height.
Bytes EncodeIcon(const Picture& design) {
    const std::vector<Picture> images{design, Scaled(design, 2), Scaled(design, 3)};
    Bytes out;
    Put16(out, 0);  // reserved
    Put16(out, 1);  // resource type: icon
    Put16(out, static_cast<std::uint32_t>(images.size()));
    // The images follow the 6-byte header and one 16-byte directory entry each.
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
    for (const Picture& picture : images) {
        const int size = picture.width();
        out.insert(out.end(), {static_cast<std::uint8_t>(size), static_cast<std::uint8_t>(size), 16, 0});
        Put16(out, 1);  // planes
        Put16(out, 4);  // bits per pixel
        Put32(out, kInfoHeaderSize + kPaletteSize + IconBitsSize(size));
        Put32(out, offset);
        offset += kInfoHeaderSize + kPaletteSize + IconBitsSize(size);
    }
    for (const Picture& picture : images) {
        const int size = picture.width();
        PutInfoHeader(out, size, 2 * size, IconBitsSize(size));
        // Transparent pixels must be black in the colour bitmap, or the mask would invert the desktop.
        PutRows(out, size, size, 4, [&](int x, int y) {
            const std::uint8_t c = picture.at(x, y);
            return unsigned{c == kTransparent ? kBlack : c};
        });
        PutRows(out, size, size, 1, [&](int x, int y) { return picture.at(x, y) == kTransparent ? 1U : 0U; });
    }
    return out;
}

bool WriteFile(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: gen_assets <output-folder>\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        std::cerr << "gen_assets: cannot create " << folder << ": " << error.message() << '\n';
        return 1;
    }

    std::vector<std::pair<std::string, Bytes>> files;
    for (std::size_t i = 0; i < kShades.size(); ++i) {
        const std::string n = std::to_string(i);
        files.emplace_back("color" + n + ".bmp", EncodeBitmap(DigitStrip(kShades[i])));
        files.emplace_back("punto" + n + ".bmp", EncodeBitmap(Colon(kShades[i], true)));
        files.emplace_back("punto1_" + n + ".bmp", EncodeBitmap(Colon(kShades[i], false)));
    }
    files.emplace_back("esmalvio.ico", EncodeIcon(FromArt(kClockIcon)));
    files.emplace_back("fusi.ico", EncodeIcon(FromArt(kZoneIcon)));

    for (const auto& [name, bytes] : files) {
        if (!WriteFile(folder / name, bytes)) {
            std::cerr << "gen_assets: cannot write " << (folder / name) << '\n';
            return 1;
        }
    }
    return 0;
}
