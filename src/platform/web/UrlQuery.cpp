#include "platform/web/UrlQuery.h"

#include "core/Quoted.h"
#include "course/CommandLine.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace {

const std::array<const char*, 5> switches { "every-frame", "no-wait", "mute", "fullscreen", "window" };
// The data folder is packed; rehearsing watches shader files the page has not.
const std::array<const char*, 4> desktopOnly { "data-dir", "help", "version", "rehearse" };

template <std::size_t N> bool among(const std::array<const char*, N>& names, const std::string& name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

int hexDigit(char c)
{
    if (std::isdigit(static_cast<unsigned char>(c)))
        return c - '0';
    const int lower = std::tolower(static_cast<unsigned char>(c));
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

// Percent escapes and '+' for a space, as a form writes them; a stray '%'
// stands for itself.
std::string decoded(const std::string& text)
{
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+') {
            plain += ' ';
        } else if (text[i] == '%' && i + 2 < text.size() && hexDigit(text[i + 1]) >= 0 && hexDigit(text[i + 2]) >= 0) {
            plain += static_cast<char>(hexDigit(text[i + 1]) * 16 + hexDigit(text[i + 2]));
            i += 2;
        } else {
            plain += text[i];
        }
    }
    return plain;
}

} // namespace

bool readUrlQuery(const std::string& query, UrlQuery& read, std::string& error)
{
    read = UrlQuery();
    std::size_t begin = query.empty() || query[0] != '?' ? 0 : 1;
    while (begin < query.size()) {
        std::size_t end = query.find('&', begin);
        if (end == std::string::npos)
            end = query.size();
        const std::string pair = query.substr(begin, end - begin);
        begin = end + 1;
        if (pair.empty())
            continue;
        const std::size_t equals = pair.find('=');
        const std::string name = decoded(pair.substr(0, equals));
        const std::string value = equals == std::string::npos ? "" : decoded(pair.substr(equals + 1));
        if (equals == std::string::npos || value.empty()) {
            error = "the address's " + quoteForMessage(name) + " has no value (like " + shortenForMessage(name) + "=1)";
            return false;
        }
        if (among(desktopOnly, name)) {
            error = "the address's " + quoteForMessage(name) + " means nothing in a browser";
            return false;
        }
        if (name == "at") {
            std::uint32_t at = 0;
            if (!CommandLine::whole(value, CommandLine::longestRun, at)) {
                error = "the address's 'at' takes a run time in ms, like at=41600; not " + quoteForMessage(value);
                return false;
            }
            read.frameAt = at;
        } else if (among(switches, name)) {
            if (value != "0" && value != "1") {
                error = "the address's " + quoteForMessage(name) + " takes 1 or 0; not " + quoteForMessage(value);
                return false;
            }
            if (value == "1")
                read.arguments.push_back("--" + name);
        } else {
            read.arguments.push_back("--" + name);
            read.arguments.push_back(value);
        }
    }
    return true;
}
