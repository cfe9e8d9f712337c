#include "core/Quoted.h"

#include <gtest/gtest.h>

#include <string>

// What a message echoes of what the user gave: whole UTF-8 characters as
// they are; as \xNN what a terminal would act on, what makes no character,
// and the byte order mark, which would show as nothing; cut between
// characters, with "…".
TEST(QuoteForMessage, ShowsWhatWouldNotShowAndCutsBetweenCharacters)
{
    const struct {
        std::string given;
        std::string shown;
    } rows[] = {
        { "hres", "'hres'" },
        { "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8E\xB2", "'caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8E\xB2'" },
        { std::string("a\0b\x1b[2J\x7f", 8), "'a\\x00b\\x1b[2J\\x7f'" },
        { "\xEF\xBBhres", "'\\xef\\xbbhres'" }, // half a byte order mark
        { "\xEF\xBB\xBFhres", "'\\xef\\xbb\\xbfhres'" }, // a second one, left when the first was skipped
        { "\xC3", "'\\xc3'" }, // cut short at the end
        { "\x80\xBF", "'\\x80\\xbf'" }, // continuation bytes alone
        { "\xC0\xAF\xED\xA0\x80\xF4\x90\x80\x80",
            "'\\xc0\\xaf\\xed\\xa0\\x80\\xf4\\x90\\x80\\x80'" }, // overlong, surrogate, too high
    };
    for (const auto& row : rows)
        EXPECT_EQ(quoteForMessage(row.given), row.shown) << row.shown;
    EXPECT_EQ(quoteForMessage(std::string(300, '7')), "'" + std::string(200, '7') + "…'");
    EXPECT_EQ(quoteForMessage(std::string(199, 'e') + "\xC3\xA9"), "'" + std::string(199, 'e') + "…'")
        << "never half a character";
    EXPECT_EQ(shortenForMessage("abc", 3), "abc");
}
