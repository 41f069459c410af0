#pragma once
// A JPEG picture for the windows: decoded with libjpeg, handed over as a bitmap.
#include <cstddef>
#include <string>

#include "gui/bitmap.h"
#include "imaging/jpeg_decoder.h"

class TJPEGImage {
public:
    // Both throw EJPEG when libjpeg refuses the data; the picture is then left as it was.
    void LoadFromMemory(const void* data, std::size_t size);
    // A JPEG file stored among the program's resources as RCDATA.
    void LoadFromResourceName(const std::wstring& name);

    bool Empty() const { return image_.Pixels.empty(); }
    int Width() const { return image_.Width; }
    int Height() const { return image_.Height; }
    const TDecodedImage& Pixels() const { return image_; }
    // A 24-bit device-independent bitmap of the picture; empty when there is no picture.
    TBitmap ToBitmap() const;

private:
    TDecodedImage image_;
};
