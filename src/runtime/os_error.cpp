#include "runtime/os_error.h"

#include <windows.h>

#include "runtime/format.h"

std::string SysErrorMessage(std::uint32_t errorCode)
{
    char buffer[512] = {};
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
                                      FORMAT_MESSAGE_ARGUMENT_ARRAY,
                                  nullptr, errorCode, 0, buffer, sizeof(buffer), nullptr);
    while (length > 0 && (buffer[length - 1] == '\r' || buffer[length - 1] == '\n' || buffer[length - 1] == ' '))
        --length;
    return std::string(buffer, length);
}

void RaiseLastOSError(std::uint32_t errorCode)
{
    throw EOSError(errorCode, Format("System Error.  Code: %u.\r\n%s", static_cast<unsigned>(errorCode),
                                     SysErrorMessage(errorCode).c_str()));
}
