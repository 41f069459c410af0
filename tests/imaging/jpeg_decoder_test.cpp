// JPEG decoding through libjpeg: pictures made here with libjpeg's own encoder come back with their size
// and colours; damaged or foreign data gives libjpeg's message as an exception, never an exit.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "imaging/jpeg_decoder.h"

namespace {

struct Color {
    int r, g, b;
};

// Four solid quadrants (red, green, blue, white), or grey levels when gray is set.
std::vector<unsigned char> Encode(int width, int height, bool gray = false, int quality = 95)
{
    const Color quads[4] = {{220, 30, 30}, {30, 200, 40}, {20, 40, 210}, {250, 250, 250}};
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    jpeg_mem_dest(&c, &out, &outSize);
    c.image_width = static_cast<JDIMENSION>(width);
    c.image_height = static_cast<JDIMENSION>(height);
    c.input_components = gray ? 1 : 3;
    c.in_color_space = gray ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, quality, TRUE);
    jpeg_start_compress(&c, TRUE);
    std::vector<unsigned char> row(static_cast<size_t>(width) * 3);
    while (c.next_scanline < c.image_height) {
        const int y = static_cast<int>(c.next_scanline);
        for (int x = 0; x < width; ++x) {
            const Color q = quads[(y >= height / 2 ? 2 : 0) + (x >= width / 2 ? 1 : 0)];
            if (gray)
                row[static_cast<size_t>(x)] = static_cast<unsigned char>(x * 255 / (width - 1));
            else {
                row[static_cast<size_t>(x) * 3] = static_cast<unsigned char>(q.r);
                row[static_cast<size_t>(x) * 3 + 1] = static_cast<unsigned char>(q.g);
                row[static_cast<size_t>(x) * 3 + 2] = static_cast<unsigned char>(q.b);
            }
        }
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&c, &p, 1);
    }
    jpeg_finish_compress(&c);
    std::vector<unsigned char> data(out, out + outSize);
    jpeg_destroy_compress(&c);
    std::free(out);
    return data;
}

void ExpectNear(const TDecodedImage& image, int x, int y, Color want)
{
    const TDecodedImage::Rgb got = image.Pixel(x, y);
    SCOPED_TRACE(testing::Message() << "pixel " << x << "," << y);
    EXPECT_NEAR(got.r, want.r, 12);
    EXPECT_NEAR(got.g, want.g, 12);
    EXPECT_NEAR(got.b, want.b, 12);
}

// The message of the EJPEG that decoding data raises, or "" when it decodes.
std::string FailureOf(const std::vector<unsigned char>& data)
{
    try {
        DecodeJpeg(data.data(), data.size());
    } catch (const EJPEG& e) {
        EXPECT_NE(e.Code(), 0);
        return e.Message();
    }
    return "";
}

}  // namespace

TEST(JpegDecoder, SizeColoursAndRowLayout)
{
    // An odd width: every row is padded to four bytes, and the padding must not shift the next row.
    const TDecodedImage image = DecodeJpeg(Encode(45, 30).data(), Encode(45, 30).size());
    EXPECT_EQ(image.Width, 45);
    EXPECT_EQ(image.Height, 30);
    EXPECT_EQ(image.Stride, 136u);
    EXPECT_EQ(image.Pixels.size(), 136u * 30);
    ExpectNear(image, 5, 5, {220, 30, 30});
    ExpectNear(image, 40, 5, {30, 200, 40});
    ExpectNear(image, 5, 25, {20, 40, 210});
    ExpectNear(image, 40, 25, {250, 250, 250});
    // Stored blue first, as a bitmap wants it.
    EXPECT_GT(image.Pixels[136 * 25 + 5 * 3], 180);
    EXPECT_LT(image.Pixels[136 * 25 + 5 * 3 + 2], 60);
}

TEST(JpegDecoder, GreyPictureComesOutAsThreeEqualSamples)
{
    const std::vector<unsigned char> data = Encode(64, 8, true);
    const TDecodedImage image = DecodeJpeg(data.data(), data.size());
    ASSERT_EQ(image.Width, 64);
    for (int x : {0, 32, 63}) {
        const TDecodedImage::Rgb p = image.Pixel(x, 4);
        EXPECT_EQ(p.r, p.g);
        EXPECT_EQ(p.g, p.b);
        EXPECT_NEAR(p.r, x * 255 / 63, 8);
    }
}

TEST(JpegDecoder, DamagedOrForeignDataGivesLibjpegsMessage)
{
    const std::vector<unsigned char> good = Encode(64, 64);
    // Cut short in the middle of the picture: libjpeg only warns and pads with grey; we refuse it.
    std::vector<unsigned char> cut(good.begin(), good.begin() + static_cast<long>(good.size() / 2));
    EXPECT_EQ(FailureOf(cut), "Premature end of JPEG file");
    // Cut inside the header.
    EXPECT_EQ(FailureOf(std::vector<unsigned char>(good.begin(), good.begin() + 20)), "Premature end of JPEG file");
    // Not a JPEG at all: a bitmap's first bytes, a text, nothing.
    EXPECT_EQ(FailureOf({'B', 'M', 0x36, 0, 0, 0, 0, 0}), "Not a JPEG file: starts with 0x42 0x4d");
    const std::string text = "Orvand 3\r\n";
    EXPECT_EQ(FailureOf(std::vector<unsigned char>(text.begin(), text.end())), "Not a JPEG file: starts with 0x4f 0x72");
    EXPECT_EQ(FailureOf({}), "Empty input file");
    // The decoder is left sound: the whole picture still decodes after the failures.
    EXPECT_EQ(DecodeJpeg(good.data(), good.size()).Width, 64);
}

TEST(JpegDecoder, HugeAnnouncedSizeIsRefusedBeforeAnyPixelMemory)
{
    std::vector<unsigned char> data = Encode(16, 16);
    // The frame header (SOF0): marker, length, precision, then height and width, big-endian.
    size_t sof = 2;
    while (sof + 9 < data.size() && !(data[sof] == 0xFF && data[sof + 1] == 0xC0))
        ++sof;
    ASSERT_LT(sof + 9, data.size());
    data[sof + 5] = 0xEA;  // 60,000 x 60,000: about 10 GB of pixels
    data[sof + 6] = 0x60;
    data[sof + 7] = 0xEA;
    data[sof + 8] = 0x60;
    try {
        DecodeJpeg(data.data(), data.size());
        FAIL() << "decoded";
    } catch (const EJPEG& e) {
        EXPECT_EQ(e.Message(), "JPEG image too large");
    }
}

#ifndef _WIN32
// The picture the about window shows (under Wine its test reads it from the program's resources).
TEST(JpegDecoder, ShippedPicture)
{
    const std::string path = std::string(ORVAND_SOURCE_DIR) + "/resources/art/about.jpg";
    std::FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr) << path;
    std::vector<unsigned char> data(64 * 1024);
    data.resize(std::fread(data.data(), 1, data.size(), f));
    std::fclose(f);
    const TDecodedImage image = DecodeJpeg(data.data(), data.size());
    EXPECT_EQ(image.Width, 255);
    EXPECT_EQ(image.Height, 279);
}
#endif
