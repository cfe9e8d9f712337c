#include "core/Quoted.h"

#include <cstdio>

namespace {

// The length of the UTF-8 character that starts at `at`, or 0 where the
// bytes there are none (a lone continuation byte, a sequence cut short, an
// overlong form, a surrogate, past U+10FFFF).
std::size_t characterLength(const std::string& text, std::size_t at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80u)
        return 1;
    const std::size_t length = lead >= 0xC2u && lead <= 0xDFu ? 2
        : lead >= 0xE0u && lead <= 0xEFu                      ? 3
        : lead >= 0xF0u && lead <= 0xF4u                      ? 4
                                                              : 0;
    if (length == 0 || at + length > text.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i)
        if ((static_cast<unsigned char>(text[at + i]) & 0xC0u) != 0x80u)
            return 0;
    const auto second = static_cast<unsigned char>(text[at + 1]);
    if ((lead == 0xE0u && second < 0xA0u) || (lead == 0xEDu && second >= 0xA0u) || (lead == 0xF0u && second < 0x90u)
        || (lead == 0xF4u && second >= 0x90u))
        return 0;
    return length;
}

void escape(std::string& shown, unsigned char byte)
{
    char escaped[5];
    std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
    shown += escaped;
}

} // namespace

std::string shortenForMessage(const std::string& text, std::size_t longest)
{
    // Shown as \xNN: control characters (a NUL would end the message where
    // a C string carries it, and an escape sequence would act on the
    // terminal), bytes that make no UTF-8 character (half a byte order
    // mark), and the byte order mark itself, which shows as nothing.
    std::string shown;
    std::size_t end = 0;
    while (end < text.size() && shown.size() < longest) {
        const std::size_t length = characterLength(text, end);
        const auto byte = static_cast<unsigned char>(text[end]);
        if (length == 0 || byte < 0x20u || byte == 0x7fu) {
            escape(shown, byte);
            ++end;
        } else if (text.compare(end, length, "\xEF\xBB\xBF") == 0) {
            for (std::size_t i = 0; i < length; ++i)
                escape(shown, static_cast<unsigned char>(text[end + i]));
            end += length;
        } else if (shown.size() + length > longest) {
            break; // cut between characters
        } else {
            shown.append(text, end, length);
            end += length;
        }
    }
    return end == text.size() ? shown : shown + "…";
}

std::string quoteForMessage(const std::string& text, std::size_t longest)
{
    return "'" + shortenForMessage(text, longest) + "'";
}
