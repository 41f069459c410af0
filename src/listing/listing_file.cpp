#include "listing/listing_file.h"

#include <algorithm>
#include <cstring>

#include "runtime/io_result.h"

namespace {
constexpr char kLineBreak[] = "\r\n";
constexpr int kInvalidFilename = 3;
constexpr int kDiskFull = 101;
}  // namespace

TListingFile& ListingFile()
{
    static TListingFile file;
    return file;
}

bool IsExistingFile(const std::string& path)
{
    // A wildcard would match some other entry; such a name is no file.
    if (path.empty() || path.size() > TListingFile::kMaxNameLength || path.find_first_of("*?") != std::string::npos)
        return false;
    WIN32_FIND_DATAA data;
    UniqueFindHandle find(FindFirstFileA(path.c_str(), &data));
    if (!find)
        return false;
    return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

void TListingFile::BindName(const std::string& path)
{
    // A handle still held is closed rather than forgotten; the save command never leaves one behind.
    handle_.reset();
    writing_ = false;
    buffered_ = 0;
    appendStart_ = -1;
    writeOutEachLine_ = false;
    name_ = path;
}

int TListingFile::IOResult()
{
    const int code = ioResult_;
    ioResult_ = 0;
    return code;
}

void TListingFile::Open(DWORD access, DWORD disposition)
{
    if (writing_)
        CloseListingFile();
    handle_.reset();
    writing_ = false;
    buffered_ = 0;
    appendStart_ = -1;
    writeOutEachLine_ = false;
    // The name is never cut short: a path that does not fit is refused as a whole.
    if (name_.size() > kMaxNameLength) {
        ioResult_ = kInvalidFilename;
        return;
    }
    UniqueFileHandle handle(
        CreateFileA(name_.c_str(), access, FILE_SHARE_READ, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle) {
        ioResult_ = static_cast<int>(GetLastError());
        return;
    }
    switch (GetFileType(handle.get())) {
    case FILE_TYPE_UNKNOWN:
        ioResult_ = ioNotWritable;
        return;  // the handle closes here
    case FILE_TYPE_CHAR:
        writeOutEachLine_ = true;
        break;
    default:
        break;
    }
    handle_ = std::move(handle);
    writing_ = true;
}

void TListingFile::CreateEmpty()
{
    Open(GENERIC_WRITE, CREATE_ALWAYS);
}

void TListingFile::OpenForAppend()
{
    Open(GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING);
    if (!writing_)
        return;
    // Whatever the file holds stays as it is, an end-of-file marker too: new text follows the last byte.
    LARGE_INTEGER end{};
    if (!SetFilePointerEx(handle_.get(), LARGE_INTEGER{}, &end, FILE_END)) {
        ioResult_ = static_cast<int>(GetLastError());
        handle_.reset();
        writing_ = false;
        writeOutEachLine_ = false;
        return;
    }
    appendStart_ = end.QuadPart;
}

bool TListingFile::WriteBuffer()
{
    const DWORD count = static_cast<DWORD>(buffered_);
    buffered_ = 0;
    DWORD written = 0;
    const BOOL ok = write_ ? write_(handle_.get(), buffer_, count, &written)
                           : WriteFile(handle_.get(), buffer_, count, &written, nullptr);
    if (!ok) {
        ioResult_ = static_cast<int>(GetLastError());
        return false;
    }
    if (written != count) {
        ioResult_ = kDiskFull;
        return false;
    }
    return true;
}

void TListingFile::WriteLine(const std::string& text)
{
    if (!writing_) {
        ioResult_ = ioNotWritable;
        return;
    }
    auto put = [this](const char* bytes, size_t size) {
        while (size > 0) {
            const size_t n = std::min(size, static_cast<size_t>(kBufferSize - buffered_));
            std::memcpy(buffer_ + buffered_, bytes, n);
            buffered_ += static_cast<int>(n);
            bytes += n;
            size -= n;
            if (buffered_ == kBufferSize && !WriteBuffer())
                return false;  // the rest of the text is dropped
        }
        return true;
    };
    if (!put(text.data(), text.size()) || !put(kLineBreak, 2))
        return;
    if (writeOutEachLine_ && buffered_ > 0)
        WriteBuffer();
}

void TListingFile::CloseListingFile()
{
    if (!writing_) {
        ioResult_ = ioFileNotOpen;
        return;
    }
    if (buffered_ > 0 && !WriteBuffer())
        return;
    if (!CloseHandle(handle_.release()))
        ioResult_ = static_cast<int>(GetLastError());
    writing_ = false;
    writeOutEachLine_ = false;
}

bool TListingFile::RestoreAfterFailure()
{
    buffered_ = 0;
    bool restored = appendStart_ < 0;  // nothing was appended by this save
    if (!restored && writeOutEachLine_) {
        restored = true;  // a device keeps what went out: there is nothing to cut
    } else if (!restored) {
        // A close that failed after the last write leaves no handle: the file is opened again to cut it.
        UniqueFileHandle reopened;
        if (!writing_)
            reopened.reset(CreateFileA(name_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
        const bool open = writing_ || static_cast<bool>(reopened);
        HANDLE h = writing_ ? handle_.get() : reopened.get();
        LARGE_INTEGER start{};
        start.QuadPart = appendStart_;
        restored = open && SetFilePointerEx(h, start, nullptr, FILE_BEGIN) && SetEndOfFile(h);
    }
    handle_.reset();
    writing_ = false;
    appendStart_ = -1;
    writeOutEachLine_ = false;
    return restored;
}
