#pragma once
// printf-style formatting into a std::string (the message formats use %s and %d).
#include <string>

#if defined(__GNUC__)
#define ORVAND_PRINTF(f, a) __attribute__((format(printf, f, a)))
#else
#define ORVAND_PRINTF(f, a)
#endif

std::string Format(const char* format, ...) ORVAND_PRINTF(1, 2);
