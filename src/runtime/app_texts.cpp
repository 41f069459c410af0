#include "runtime/app_texts.h"

#include "runtime/ansi_case.h"

std::string TitleFromExeName(const std::string& exePath)
{
    const auto slash = exePath.find_last_of("\\/:");
    std::string name = slash == std::string::npos ? exePath : exePath.substr(slash + 1);
    const auto dot = name.find('.');
    if (dot != std::string::npos)
        name.erase(dot);
    if (name.size() > 1)
        name = name.substr(0, 1) + AnsiLowerCase(name.substr(1));
    return name;
}

std::string MessageWithFullStop(const std::string& message)
{
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        return message + ".";
    return message;
}
