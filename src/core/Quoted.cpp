#include "core/Quoted.h"

std::string shortenForMessage(const std::string& text, std::size_t longest)
{
    if (text.size() <= longest)
        return text;
    std::size_t cut = longest;
    // Not inside a character: continuation bytes are 10xxxxxx.
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0u) == 0x80u)
        --cut;
    return text.substr(0, cut) + "…";
}

std::string quoteForMessage(const std::string& text, std::size_t longest)
{
    return "'" + shortenForMessage(text, longest) + "'";
}
