#include "imaging/jpeg_image.h"

#include <windows.h>

#include <cstring>

#include "runtime/format.h"

void TJPEGImage::LoadFromMemory(const void* data, std::size_t size)
{
    image_ = DecodeJpeg(data, size);  // assigned only once decoded whole
}

void TJPEGImage::LoadFromResourceName(const std::wstring& name)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HRSRC res = FindResourceW(instance, name.c_str(), MAKEINTRESOURCEW(10));  // RT_RCDATA
    HGLOBAL loaded = res ? LoadResource(instance, res) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data)
        throw EJPEG("JPEG resource not found", 0);
    LoadFromMemory(data, SizeofResource(instance, res));
}

TBitmap TJPEGImage::ToBitmap() const
{
    TBitmap bitmap;
    if (Empty())
        return bitmap;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = image_.Width;
    info.bmiHeader.biHeight = -image_.Height;  // top row first, as decoded
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap handle(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!handle || !bits)
        throw Exception(Format("Cannot make a bitmap of %d x %d pixels", image_.Width, image_.Height));
    std::memcpy(bits, image_.Pixels.data(), image_.Pixels.size());
    GdiFlush();
    bitmap.SetHandle(std::move(handle));
    return bitmap;
}
