#pragma once

#include <cstddef>
#include <string>

// `text` in single quotes, as a message to the user shows what was given:
// at most `longest` characters of it, ended with "…" when it is cut (a
// 100 kB argument is not echoed whole), cut between UTF-8 characters; and
// control characters (NUL, escape, ...) shown as \xNN rather than passed to
// the terminal or the page as they are.
std::string quoteForMessage(const std::string& text, std::size_t longest = 200);
// The same without the quotes.
std::string shortenForMessage(const std::string& text, std::size_t longest = 200);
