// The PNG encoder: checksums against known values, and a decoder of stored
// blocks that reads back what was written.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "png_writer.h"

namespace {

uint32_t BigEndian(const std::vector<uint8_t>& bytes, size_t at) {
    return (uint32_t{bytes[at]} << 24) | (uint32_t{bytes[at + 1]} << 16) | (uint32_t{bytes[at + 2]} << 8) |
           bytes[at + 3];
}

struct DecodedPng {
    std::vector<uint8_t> header;
    std::vector<uint8_t> raw;  // the filtered rows
    int storedBlocks = 0;
    std::string chunkOrder;
};

// Walks the chunks (checking every CRC) and unpacks the stored deflate blocks.
DecodedPng Decode(const std::vector<uint8_t>& png) {
    DecodedPng decoded;
    const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_EQ(std::memcmp(png.data(), signature, 8), 0);
    std::vector<uint8_t> zlib;
    size_t at = 8;
    while (at + 12 <= png.size()) {
        const uint32_t length = BigEndian(png, at);
        const std::string type(png.begin() + static_cast<ptrdiff_t>(at + 4), png.begin() + static_cast<ptrdiff_t>(at + 8));
        EXPECT_EQ(BigEndian(png, at + 8 + length), Crc32(png.data() + at + 4, length + 4)) << type;
        const auto data = png.begin() + static_cast<ptrdiff_t>(at + 8);
        if (type == "IHDR") decoded.header.assign(data, data + length);
        if (type == "IDAT") zlib.insert(zlib.end(), data, data + length);
        decoded.chunkOrder += type + " ";
        at += 12 + length;
    }
    EXPECT_EQ(at, png.size());
    EXPECT_EQ((zlib[0] * 256 + zlib[1]) % 31, 0) << "zlib header check";
    size_t z = 2;
    for (bool last = false; !last;) {
        last = zlib[z] & 1;
        EXPECT_EQ(zlib[z] >> 1, 0) << "block type must be stored";
        const unsigned length = zlib[z + 1] | (zlib[z + 2] << 8);
        const unsigned complement = zlib[z + 3] | (zlib[z + 4] << 8);
        EXPECT_EQ(length ^ complement, 0xFFFFu);
        decoded.raw.insert(decoded.raw.end(), zlib.begin() + static_cast<ptrdiff_t>(z + 5),
                           zlib.begin() + static_cast<ptrdiff_t>(z + 5 + length));
        z += 5 + length;
        ++decoded.storedBlocks;
    }
    EXPECT_EQ(BigEndian(zlib, z), Adler32(decoded.raw.data(), decoded.raw.size()));
    EXPECT_EQ(z + 4, zlib.size());
    return decoded;
}

TEST(PngWriter, ChecksumsMatchKnownValues) {
    const std::string digits = "123456789";
    EXPECT_EQ(Crc32(reinterpret_cast<const uint8_t*>(digits.data()), digits.size()), 0xCBF43926u);
    const std::string word = "Wikipedia";
    EXPECT_EQ(Adler32(reinterpret_cast<const uint8_t*>(word.data()), word.size()), 0x11E60398u);
    EXPECT_EQ(Adler32(nullptr, 0), 1u);
}

TEST(PngWriter, SmallImageReadsBackRowByRow) {
    RgbImage image;
    image.width = 2;
    image.height = 2;
    image.pixels = {255, 0, 0, 0, 255, 0, 0, 0, 255, 10, 20, 30};
    const DecodedPng decoded = Decode(EncodePng(image));
    EXPECT_EQ(decoded.chunkOrder, "IHDR IDAT IEND ");
    EXPECT_EQ(decoded.header, (std::vector<uint8_t>{0, 0, 0, 2, 0, 0, 0, 2, 8, 2, 0, 0, 0}));
    EXPECT_EQ(decoded.raw, (std::vector<uint8_t>{0, 255, 0, 0, 0, 255, 0, 0, 0, 0, 255, 10, 20, 30}));
    EXPECT_EQ(decoded.storedBlocks, 1);
}

TEST(PngWriter, LargeImageSpreadsOverSeveralStoredBlocks) {
    RgbImage image;
    image.width = 300;
    image.height = 200;  // 180,200 bytes of rows: three blocks
    image.pixels.resize(300 * 200 * 3);
    for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = static_cast<uint8_t>(i * 7);
    const DecodedPng decoded = Decode(EncodePng(image));
    EXPECT_EQ(decoded.storedBlocks, 3);
    ASSERT_EQ(decoded.raw.size(), static_cast<size_t>(200 * (1 + 300 * 3)));
    for (int y = 0; y < 200; ++y) {
        const auto row = decoded.raw.begin() + y * (1 + 900);
        ASSERT_EQ(row[0], 0) << "row " << y;
        ASSERT_TRUE(std::equal(row + 1, row + 901, image.pixels.begin() + y * 900)) << "row " << y;
    }
}

}  // namespace
