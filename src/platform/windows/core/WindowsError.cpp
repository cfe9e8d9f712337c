#include "platform/windows/core/WindowsError.h"

#include <cstdio>
#include <windows.h>

std::string windowsErrorText(unsigned long code)
{
    char* text = nullptr;
    const DWORD length
        = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
            nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&text), 0, nullptr);
    std::string words = length > 0 && text != nullptr ? std::string(text, length) : "";
    LocalFree(text);
    while (!words.empty() && (words.back() == '\n' || words.back() == '\r' || words.back() == ' '))
        words.pop_back();
    if (!words.empty())
        return words;
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%08lx", code);
    return std::string("Windows error ") + hex;
}
