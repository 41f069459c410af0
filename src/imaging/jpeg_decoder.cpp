#include "imaging/jpeg_decoder.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <limits>

// jpeglib.h wants size_t and FILE declared first.
#include <jerror.h>
#include <jpeglib.h>

namespace {

constexpr std::size_t kMaxPixelBytes = std::size_t{1} << 28;

// libjpeg reports a failure by calling error_exit, which must not return. Ours jumps back to the step
// that called into libjpeg. The steps below call setjmp in frames that hold no object with a
// destructor, and only libjpeg's C frames lie between them and the jump, so no destructor is skipped;
// the exception is thrown once the step has returned normally.
struct TSession {
    jpeg_decompress_struct cinfo{};
    jpeg_error_mgr err{};
    std::jmp_buf jump{};
    char message[JMSG_LENGTH_MAX] = {};
    int code = 0;
    bool created = false;
};

TSession& SessionOf(j_common_ptr cinfo)
{
    // The error manager is the session's own; client_data leads back to the session.
    return *static_cast<TSession*>(cinfo->client_data);
}

void ErrorExit(j_common_ptr cinfo)
{
    TSession& s = SessionOf(cinfo);
    (*cinfo->err->format_message)(cinfo, s.message);
    s.code = cinfo->err->msg_code;
    std::longjmp(s.jump, 1);
}

// Warnings (level -1) tell of damaged data, a file cut short among them: libjpeg would go on and pad
// the picture with grey. We take them as the failure they are. Trace messages are dropped.
void EmitMessage(j_common_ptr cinfo, int level)
{
    if (level < 0)
        ErrorExit(cinfo);
}

// Nothing is ever written to stderr.
void OutputMessage(j_common_ptr) {}

bool Begin(TSession& s, const unsigned char* data, unsigned long size)
{
    if (setjmp(s.jump))
        return false;
    s.created = true;  // destroying a half-made decompressor is safe: it only frees what was allocated
    jpeg_create_decompress(&s.cinfo);
    jpeg_mem_src(&s.cinfo, data, size);
    jpeg_read_header(&s.cinfo, TRUE);
    s.cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&s.cinfo);
    return true;
}

bool ReadRows(TSession& s, unsigned char* pixels, std::size_t stride)
{
    if (setjmp(s.jump))
        return false;
    while (s.cinfo.output_scanline < s.cinfo.output_height) {
        JSAMPROW row = pixels + s.cinfo.output_scanline * stride;
        jpeg_read_scanlines(&s.cinfo, &row, 1);
    }
    jpeg_finish_decompress(&s.cinfo);
    return true;
}

// Releases libjpeg's memory however the decoding ended.
class TSessionGuard {
public:
    explicit TSessionGuard(TSession& s) : s_(s) {}
    ~TSessionGuard()
    {
        if (s_.created)
            jpeg_destroy_decompress(&s_.cinfo);
    }
    TSessionGuard(const TSessionGuard&) = delete;
    TSessionGuard& operator=(const TSessionGuard&) = delete;

private:
    TSession& s_;
};

[[noreturn]] void Fail(const TSession& s)
{
    throw EJPEG(s.message, s.code);
}

}  // namespace

TDecodedImage DecodeJpeg(const void* data, std::size_t size)
{
    if (size > std::numeric_limits<unsigned long>::max())
        throw EJPEG("JPEG file too large", 0);
    TSession s;
    jpeg_std_error(&s.err);
    s.err.error_exit = ErrorExit;
    s.err.emit_message = EmitMessage;
    s.err.output_message = OutputMessage;
    s.cinfo.err = &s.err;
    s.cinfo.client_data = &s;
    TSessionGuard guard(s);

    if (!Begin(s, static_cast<const unsigned char*>(data), static_cast<unsigned long>(size)))
        Fail(s);
    // RGB output: three samples a pixel whatever the file held (grey too).
    TDecodedImage image;
    image.Width = static_cast<int>(s.cinfo.output_width);
    image.Height = static_cast<int>(s.cinfo.output_height);
    image.Stride = (static_cast<std::size_t>(image.Width) * 3 + 3) & ~static_cast<std::size_t>(3);
    // A few bytes of header may announce 65,500 x 65,500 pixels; no picture of ours comes near the limit.
    if (image.Stride * static_cast<std::size_t>(image.Height) > kMaxPixelBytes)
        throw EJPEG("JPEG image too large", 0);
    image.Pixels.resize(image.Stride * static_cast<std::size_t>(image.Height));
    if (!ReadRows(s, image.Pixels.data(), image.Stride))
        Fail(s);
    // libjpeg gives red, green, blue; the bitmap wants blue first.
    for (int y = 0; y < image.Height; ++y) {
        std::uint8_t* p = &image.Pixels[static_cast<std::size_t>(y) * image.Stride];
        for (int x = 0; x < image.Width; ++x, p += 3)
            std::swap(p[0], p[2]);
    }
    return image;
}
