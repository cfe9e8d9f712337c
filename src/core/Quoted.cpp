#include "core/Quoted.h"

#include <cstdio>

std::string shortenForMessage(const std::string& text, std::size_t longest)
{
    // Control characters as \xNN: a NUL would end the message where a C
    // string carries it, and an escape sequence would act on the terminal.
    std::string shown;
    std::size_t end = 0;
    for (; end < text.size() && shown.size() < longest; ++end) {
        const auto byte = static_cast<unsigned char>(text[end]);
        if (byte < 0x20u || byte == 0x7fu) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
            shown += escaped;
        } else {
            shown += text[end];
        }
    }
    if (end == text.size())
        return shown;
    // Not inside a character: continuation bytes are 10xxxxxx.
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0u) == 0x80u) {
        --end;
        shown.pop_back();
    }
    return shown + "…";
}

std::string quoteForMessage(const std::string& text, std::size_t longest)
{
    return "'" + shortenForMessage(text, longest) + "'";
}
