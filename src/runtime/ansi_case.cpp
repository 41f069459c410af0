#include "runtime/ansi_case.h"

#ifdef _WIN32
#include <windows.h>

std::string AnsiLowerCase(std::string text)
{
    if (!text.empty())
        CharLowerBuffA(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

#else
// Without the platform, the Central European code page 1250 that the program's users have.
std::string AnsiLowerCase(std::string text)
{
    for (char& c : text) {
        const auto b = static_cast<unsigned char>(c);
        unsigned char l = b;
        if (b >= 'A' && b <= 'Z')
            l = b + 32;
        else if (b == 0x8A || (b >= 0x8C && b <= 0x8F))
            l = b + 16;
        else if (b == 0xA3)
            l = 0xB3;
        else if (b == 0xA5)
            l = 0xB9;
        else if (b == 0xAA)
            l = 0xBA;
        else if (b == 0xAF)
            l = 0xBF;
        else if (b == 0xBC)
            l = 0xBE;
        else if (b >= 0xC0 && b <= 0xDE && b != 0xD7)
            l = b + 32;
        c = static_cast<char>(l);
    }
    return text;
}
#endif
