#include "runtime/io_result.h"

#include "runtime/exceptions.h"
#include "runtime/format.h"

std::string InOutErrorMessage(int code)
{
    switch (code) {
    case 2: return "File not found";
    case 3: return "Invalid filename";
    case 4: return "Too many open files";
    case 5: return "File access denied";
    case 100: return "Read beyond end of file";
    case 101: return "Disk full";
    case 106: return "Invalid numeric input";
    default: return Format("I/O error %d", code);
    }
}

EInOutError::EInOutError(int code) : Exception(InOutErrorMessage(code)), errorCode_(code) {}

void CheckInOutResult(int code)
{
    if (code != 0)
        throw EInOutError(code);
}
