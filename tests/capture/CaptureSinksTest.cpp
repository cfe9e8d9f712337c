#include "capture/CaptureSinks.h"
#include "capture/PngFile.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

// Seven frames of 2x1 pixels, each of one grey (20 x its pass), tiled six to
// a row: the first six in the sheet's top row, left to right, the seventh
// alone at the left of the row under them, the rest of that row black. Rows
// run bottom-up, as the frames' own.
TEST(ContactSheet, TilesTheFramesSixToARowFromTheTopLeftAndDrawsThePassBeforeAFinalFrame)
{
    char folder[] = "/tmp/lumaroll-sheet-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string file = std::string(folder) + "/sheet.png";
    LogCapture quiet; // the progress lines
    std::vector<bool> chosen(9, true);
    chosen[0] = chosen[8] = false;
    Progress progress(9, 7);
    ContactSheet sheet(file, chosen, Resolution { 2, 1 }, progress);
    ASSERT_TRUE(sheet.ready());
    for (std::uint32_t pass = 0; pass < 9; ++pass) {
        const auto grey = static_cast<unsigned char>(20 * pass);
        ASSERT_TRUE(sheet.take(pass, RgbFrame { 2, 1, std::vector<unsigned char>(6, grey) }));
    }
    ASSERT_TRUE(sheet.finish());
    const RgbFrame made = loadPng(file);
    ASSERT_EQ(made.width, 12);
    ASSERT_EQ(made.height, 2);
    std::vector<int> reds; // the bottom row first
    for (std::size_t at = 0; at < made.rgb.size(); at += 3)
        reds.push_back(made.rgb[at]);
    EXPECT_EQ(reds,
        (std::vector<int> { 140, 140, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, // under
            20, 20, 40, 40, 60, 60, 80, 80, 100, 100, 120, 120 })); // top
    std::filesystem::remove_all(folder);

    // The final frame shows the picture of the pass before it again: asked
    // for, that pass is drawn too.
    ContactSheet ending(file, { false, false, false, true }, Resolution { 2, 1 }, progress);
    EXPECT_EQ((std::vector<bool> { ending.wants(0), ending.wants(1), ending.wants(2), ending.wants(3) }),
        (std::vector<bool> { false, false, true, true }));
}
