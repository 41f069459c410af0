// The about window's picture as the program has it: the JPEG in the resources, decoded by libjpeg and
// turned into a bitmap the windows can draw.
#include <gtest/gtest.h>

#include <windows.h>

#include "imaging/jpeg_image.h"

namespace {

COLORREF BitmapPixel(HBITMAP bitmap, int x, int y)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const COLORREF c = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    return c;
}

}  // namespace

TEST(JpegImage, ShippedPictureDecodesToItsSizeAndColours)
{
    TJPEGImage picture;
    picture.LoadFromResourceName(L"ABOUTPICTURE");
    ASSERT_EQ(picture.Width(), 255);
    ASSERT_EQ(picture.Height(), 279);
    const TDecodedImage& px = picture.Pixels();
    // The sky at the top is a dark blue, the sun a pale yellow, the shore at the bottom a dark brown.
    const TDecodedImage::Rgb sky = px.Pixel(128, 3);
    EXPECT_GT(sky.b, sky.r + 30);
    EXPECT_LT(sky.r, 90);
    const TDecodedImage::Rgb sun = px.Pixel(70, 38);
    EXPECT_GT(sun.r, 230);
    EXPECT_GT(sun.g, 210);
    EXPECT_GT(sun.r, sun.b + 40);
    const TDecodedImage::Rgb shore = px.Pixel(128, 276);
    EXPECT_LT(shore.r, 80);
    EXPECT_GT(shore.r, shore.b);

    // The bitmap holds the same pixels, top row first.
    const TBitmap bitmap = picture.ToBitmap();
    ASSERT_FALSE(bitmap.Empty());
    EXPECT_EQ(bitmap.Width(), 255);
    EXPECT_EQ(bitmap.Height(), 279);
    for (const POINT p : {POINT{128, 3}, POINT{70, 38}, POINT{128, 276}, POINT{254, 0}}) {
        const TDecodedImage::Rgb want = px.Pixel(p.x, p.y);
        EXPECT_EQ(BitmapPixel(bitmap.Handle(), p.x, p.y), RGB(want.r, want.g, want.b)) << p.x << "," << p.y;
    }
}

TEST(JpegImage, RefusedDataLeavesThePictureAsItWas)
{
    TJPEGImage picture;
    picture.LoadFromResourceName(L"ABOUTPICTURE");
    const char notJpeg[] = "GIF89a";
    EXPECT_THROW(picture.LoadFromMemory(notJpeg, sizeof(notJpeg) - 1), EJPEG);
    EXPECT_EQ(picture.Width(), 255);
    EXPECT_THROW(picture.LoadFromResourceName(L"NOSUCHPICTURE"), EJPEG);
    EXPECT_FALSE(picture.Empty());
    TJPEGImage empty;
    EXPECT_TRUE(empty.ToBitmap().Empty());
}
