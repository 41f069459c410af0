#include "runtime/lead_byte.h"

#ifdef _WIN32
#include <windows.h>

bool IsLeadByte(char c)
{
    return IsDBCSLeadByte(static_cast<BYTE>(c)) != FALSE;
}

#else

bool IsLeadByte(char)
{
    return false;
}

#endif
