#pragma once
// Property checks inside fuzz targets: a broken property stops the run like a crash, so the fuzzer
// keeps the input that broke it.
#include <cstdio>
#include <cstdlib>
#include <string>

[[noreturn]] inline void FuzzFail(const char* file, int line, const char* what, const std::string& detail)
{
    std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, what);
    if (!detail.empty())
        std::fprintf(stderr, "  %s\n", detail.c_str());
    std::abort();
}

#define FUZZ_CHECK(cond) \
    do { \
        if (!(cond)) \
            FuzzFail(__FILE__, __LINE__, #cond, std::string()); \
    } while (0)

#define FUZZ_CHECK_MSG(cond, detail) \
    do { \
        if (!(cond)) \
            FuzzFail(__FILE__, __LINE__, #cond, (detail)); \
    } while (0)

// Bytes shown with their non-printable characters escaped, for the messages.
inline std::string Shown(const std::string& text)
{
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c >= 0x20 && c < 0x7f && c != '"' && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof(hex), "\\x%02x", c);
            out += hex;
        }
    }
    return out + "\"";
}
