// Decoded by a reader of our own, so a fault shared by the generator's writer and its tables cannot hide.
#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

// Little-endian field; at() makes a truncated file fail the test instead of reading past it.
std::uint32_t Field(const Bytes& bytes, std::size_t offset, std::size_t size = 4) {
    std::uint32_t value = 0;
    for (std::size_t i = size; i-- > 0;) value = value << 8U | bytes.at(offset + i);
    return value;
}

// A committed file, after checking the header fields {offset, size, value} that the reader and Windows rely on.
Bytes Load(const std::string& name, const std::vector<std::array<std::uint32_t, 3>>& fields) {
    std::ifstream in(std::filesystem::path(ASSETS_DIR) / name, std::ios::binary);
    Bytes bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    for (const auto& [at, size, value] : fields) EXPECT_EQ(Field(bytes, at, size), value) << name << " at " << at;
    return bytes;
}

// Pixel (x, y) as 0xRRGGBB, row 0 at the top. Header: "BM", pixels after the palette, 40 bytes, width, 27 rows
// bottom-up, 4 bpp, uncompressed.
auto Bitmap(const std::string& name, std::uint32_t width) {
    const Bytes b =
        Load(name, {{0, 2, 0x4D42}, {10, 4, 118}, {14, 4, 40}, {18, 4, width}, {22, 4, 27}, {28, 2, 4}, {30, 4, 0}});
    return [b, stride = (width * 4 + 31) / 32 * 4](std::size_t x, std::size_t y) {
        const unsigned byte = b.at(118 + (26 - y) * stride + x / 2);
        return Field(b, 54 + 4 * (x % 2 == 0 ? byte >> 4U : byte & 0xFU)) & 0xFFFFFFU;
    };
}

// Segments a-g: a pixel with x + y even, one with x + y odd, and the parity the unlit checker keeps dark.
constexpr std::size_t kSegments[7][5] = {{8, 2, 9, 2, 1},   {15, 7, 15, 8, 0}, {15, 19, 15, 18, 1}, {8, 24, 9, 24, 1},
                                         {2, 18, 2, 19, 0}, {2, 8, 2, 7, 1},   {9, 13, 8, 13, 0}};

TEST(ColourBitmaps, SampleGlyphsAndColonsAreLitCheckeredAndFramed) {
    for (const auto& [suffix, bright, dark] :
         {std::tuple{"0", 0xFF0000U, 0x800000U}, {"1", 0x00FF00U, 0x008000U}, {"2", 0x00FFFFU, 0x008080U}}) {
        const auto strip = Bitmap(std::string("color") + suffix + ".bmp", 198);
        // Glyph, its lit segments, its bright and dark pixels counted by hand; glyph 10 is the blank one.
        for (const auto& [glyph, lit, brights, darks] :
             {std::tuple{1U, "bc", 52, 74}, {8U, "abcdefg", 200, 0}, {10U, "", 0, 100}}) {
            SCOPED_TRACE(std::string("colour ") + suffix + ", glyph " + std::to_string(glyph));
            const auto pixel = [&](std::size_t x, std::size_t y) { return strip(18 * glyph + x, y); };
            std::array<int, 3> counted{};  // bright, dark, other
            for (std::size_t i = 0; i < 18 * 27; ++i) {
                const std::size_t x = i % 18, y = i / 18;
                const std::uint32_t p = pixel(x, y);
                const bool frame = x == 0 || x == 17 || y == 0 || y == 26;
                EXPECT_TRUE(p == 0 || (!frame && (p == bright || p == dark))) << x << "," << y;
                ++counted[p == bright ? 0 : (p == dark ? 1 : 2)];
            }
            EXPECT_EQ(counted, (std::array{brights, darks, 18 * 27 - brights - darks}));
            for (std::size_t s = 0; s < 7; ++s) {
                const auto& [evenX, evenY, oddX, oddY, checker] = kSegments[s];
                const bool on = std::string(lit).find(static_cast<char>('a' + s)) != std::string::npos;
                EXPECT_EQ(pixel(evenX, evenY), on ? bright : (checker == 0 ? dark : 0)) << s;
                EXPECT_EQ(pixel(oddX, oddY), on ? bright : (checker == 1 ? dark : 0)) << s;
            }
        }
        const auto colon = Bitmap(std::string("punto") + suffix + ".bmp", 5);
        const auto unlit = Bitmap(std::string("punto1_") + suffix + ".bmp", 5);
        for (std::size_t i = 0; i < 5 * 27; ++i) {
            const std::size_t x = i % 5, y = i / 5;
            const bool dot = x >= 1 && x <= 3 && ((y >= 7 && y <= 9) || (y >= 17 && y <= 19));
            EXPECT_EQ(colon(x, y), dot ? bright : 0) << suffix << " at " << x << "," << y;
            EXPECT_EQ(unlit(x, y), dot && (x + y) % 2 == 0 ? dark : 0) << suffix << " at " << x << "," << y;
        }
    }
}

TEST(Icons, DesignAtOneTwoAndThreeTimesBlackUnderItsMask) {
    // Three 16-colour images after the 54-byte directory: 32 x 32 (744 bytes), 64 x 64 (2664), 96 x 96 (5864).
    constexpr std::array<std::uint32_t, 4> kOffsets{0, 54, 798, 3462}, kSizes{0, 744, 2664, 5864};
    for (const char* file : {"esmalvio.ico", "fusi.ico"}) {
        std::vector<std::array<std::uint32_t, 3>> fields{{0, 2, 0}, {2, 2, 1}, {4, 2, 3}};
        for (std::uint32_t k = 1; k <= 3; ++k) {
            // Directory entry: width, height, 16 colours, 1 plane, 4 bpp, size, offset; image header: 40 bytes,
            // width, twice the height (colour bitmap plus mask), 4 bpp, uncompressed.
            const std::uint32_t entry = 6 + 16 * (k - 1), at = kOffsets[k], side = 32 * k;
            // clang-format off
            fields.insert(fields.end(), {{entry, 4, 0x00100000 | side << 8U | side}, {entry + 4, 4, 0x00040001},
                {entry + 8, 4, kSizes[k]}, {entry + 12, 4, at}, {at, 4, 40}, {at + 4, 4, side}, {at + 8, 4, 2 * side},
                {at + 14, 2, 4}, {at + 16, 4, 0}});
            // clang-format on
        }
        const Bytes icon = Load(file, fields);
        // Palette colour and mask bit of pixel (x, y) of image k, row 0 at the top (both bitmaps are bottom-up).
        const auto pixel = [&](std::uint32_t k, std::uint32_t x, std::uint32_t y) {
            const std::uint32_t side = 32 * k, row = side - 1 - y, bits = kOffsets[k] + 104;
            const unsigned index = icon.at(bits + row * 16 * k + x / 2) >> (x % 2 == 0 ? 4U : 0U) & 0xFU;
            const unsigned mask = icon.at(bits + side * 16 * k + row * 4 * k + x / 8) >> (7 - x % 8) & 1U;
            return std::pair{Field(icon, kOffsets[k] + 40 + 4 * index) & 0xFFFFFFU, mask};
        };
        // Each larger image repeats every pixel of the small one in a k x k block; where the mask shows the
        // desktop, any colour but black would invert it.
        for (std::uint32_t k = 1; k <= 3; ++k) {
            for (std::uint32_t i = 0; i < 32 * k * 32 * k; ++i) {
                const std::uint32_t x = i % (32 * k), y = i / (32 * k);
                const auto [colour, mask] = pixel(k, x, y);
                EXPECT_EQ(std::pair(colour, mask), pixel(1, x / k, y / k))
                    << file << " x" << k << " at " << x << "," << y;
                EXPECT_TRUE(mask == 0 || colour == 0) << file << " x" << k << " at " << x << "," << y;
            }
        }
    }
}

}  // namespace
