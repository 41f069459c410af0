#pragma once
// The buffered text file a listing is saved to: lines of single-byte text, each ended with CR LF,
// handed to the file in whole pieces of 128 bytes (line by line to a character device). Every operation
// that can fail leaves its outcome in the I/O result code, which IOResult reads and clears.
#include <windows.h>

#include <functional>
#include <string>

#include "runtime/unique_handle.h"

class TListingFile {
public:
    static constexpr int kBufferSize = 128;
    // The longest path the object takes; a longer one fails to open with "Invalid filename".
    static constexpr size_t kMaxNameLength = 259;

    TListingFile() = default;
    TListingFile(const TListingFile&) = delete;
    TListingFile& operator=(const TListingFile&) = delete;

    // Starts afresh on this path: closed, buffer empty. No file-system access.
    void BindName(const std::string& path);
    // Creates the file or empties an existing one, for writing; others may read it meanwhile.
    void CreateEmpty();
    // Opens the existing file for writing at its end; others may read it meanwhile.
    void OpenForAppend();
    // Adds the text and CR LF; a full buffer goes to the file at once.
    void WriteLine(const std::string& text);
    // Hands the rest of the buffer to the file, then closes it. When that fails the file stays open.
    void CloseListingFile();
    // After a failed save: drops what the buffer holds, cuts the file back to the length it had when it
    // was opened for appending, and closes it, so nothing of a listing that failed stays behind and the
    // file is neither left locked nor forgotten. The I/O result code is left as it is. False when the
    // file could not be cut back.
    bool RestoreAfterFailure();

    // The outcome of the last failed operation, 0 when none; reading it clears it.
    int IOResult();

    const std::string& Name() const { return name_; }
    bool Writing() const { return writing_; }
    // Bytes held in the buffer, not yet in the file.
    int Buffered() const { return buffered_; }
    // Set for a character device: each line goes out as soon as it is complete.
    bool WriteOutEachLine() const { return writeOutEachLine_; }

    // The call that hands the buffer to the file (WriteFile). Tests put their own here to make a write
    // fail, which a disk on the test machine cannot be made to do.
    using TWriteFunction = std::function<BOOL(HANDLE, const void*, DWORD, DWORD*)>;
    void SetWriteFunction(TWriteFunction write) { write_ = std::move(write); }

private:
    void Open(DWORD access, DWORD disposition);
    bool WriteBuffer();

    std::string name_;
    bool writing_ = false;
    UniqueFileHandle handle_;
    char buffer_[kBufferSize] = {};
    int buffered_ = 0;
    // Where this save's text began: the length of the file when it was opened for appending; -1 when
    // it was not.
    LONGLONG appendStart_ = -1;
    bool writeOutEachLine_ = false;
    int ioResult_ = 0;
    TWriteFunction write_;
};

// The program's one listing file, reused by every save.
TListingFile& ListingFile();

// Whether a file, not a folder, of that name exists; its time stamps play no part.
bool IsExistingFile(const std::string& path);
