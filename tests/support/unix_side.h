#pragma once
// What only the Unix side of Wine can do for a test: Unix paths and Unix commands.
#include <string>

// The Unix path of a folder when running under Wine, else empty.
std::string UnixPathOf(const std::string& path);
// Starts a Unix command line under Wine; false when it could not be started. It runs on its own.
bool RunUnix(const std::string& commandLine);
