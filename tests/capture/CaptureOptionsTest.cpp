#include "capture/CaptureOptions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

// Each row breaks one condition of a check and keeps the others, so that a
// check which looks at only some of them lets its row through. The size's
// own reading is the command line's, tested there.
TEST(CaptureOptions, EachConditionOfTheOptionsIsCheckedOnItsOwn)
{
    struct Row {
        std::vector<std::string> arguments;
        std::string error; // empty: taken
    };
    const Row rows[] = {
        { { "--out", "f", "--size", "640x480" }, "" },
        { { "--out", "f", "--size", "0x480" }, "--size takes WIDTHxHEIGHT" },
        { { "--out", "f", "--at", "-16" }, "--at takes run times" },
        { { "--out", "f", "--at", "0", "--from", "0" }, "give either --at or --from/--to" },
        { { "--out", "f", "--from", "2000", "--to", "2000" }, "" },
        { { "--out", "f", "--from", "2001", "--to", "2000" }, "--from comes after --to" },
        { { "--out", "f", "--from", "0" }, "" },
        { { "--video", "v.mp4", "--from", "0" }, "--video takes every frame" },
        { { "--video", "v.mp4", "--to", "10" }, "--video takes every frame" },
        { { "--out", "f", "--draw-all", "--at", "0" }, "" },
        { { "--out", "f", "--supersample", "1" }, "" },
        { { "--out", "f", "--supersample", "4" }, "" },
        { { "--out", "f", "--supersample", "0" }, "--supersample takes 1 to 4" },
        { { "--out", "f", "--supersample", "5" }, "--supersample takes 1 to 4" },
        { { "--at", "0" }, "say where the capture goes" },
        { { "--out", "f", "--video", "v.mp4" }, "give only one of" },
        { { "--out", "f", "--size" }, "option --size needs a value" },
    };
    for (const Row& row : rows) {
        CaptureOptions options;
        std::string error;
        const bool taken = parseCaptureOptions(row.arguments, options, error);
        EXPECT_EQ(taken, row.error.empty()) << testing::PrintToString(row.arguments) << error;
        EXPECT_EQ(error.rfind(row.error, 0), 0u) << testing::PrintToString(row.arguments) << error;
    }
}

// A run of 4628 frames, the last at 74032 ms: a time up to the next step or a
// --to past the end takes the last frame; a refusal names the time as typed.
TEST(CaptureOptions, TimesAtTheRunsEndTakeItsLastFrameAndOnlyTimesPastItAreRefusedByTheirOwnNumber)
{
    struct Row {
        std::vector<std::string> arguments;
        std::size_t first, last; // the chosen frames, inclusive; last < first: refused
        std::string error;
    };
    const Row rows[] = {
        { { "--out", "f", "--at", "74032" }, 4627, 4627, "" },
        { { "--out", "f", "--at", "74047" }, 4627, 4627, "" },
        { { "--out", "f", "--at", "74048" }, 1, 0,
            "There is no frame at 74048 ms: the run's last frame is at 74032 ms" },
        { { "--out", "f", "--from", "74000", "--to", "74040" }, 4625, 4627, "" },
        { { "--out", "f", "--from", "74000", "--to", "90000" }, 4625, 4627, "" },
        { { "--out", "f", "--from", "90000" }, 1, 0,
            "There is no frame at 90000 ms: the run's last frame is at 74032 ms" },
        { { "--out", "f", "--to", "31" }, 0, 1, "" },
    };
    for (const Row& row : rows) {
        CaptureOptions options;
        std::string error;
        ASSERT_TRUE(parseCaptureOptions(row.arguments, options, error)) << error;
        std::vector<bool> chosen, expected(4628);
        const bool taken = chooseFrames(options, 4628, chosen, error);
        EXPECT_EQ(taken, row.error.empty()) << row.arguments.back();
        EXPECT_EQ(error, row.error);
        for (std::size_t k = row.first; k <= row.last; ++k)
            expected[k] = true;
        if (taken) {
            EXPECT_EQ(chosen, expected) << row.arguments.back();
        }
    }

    // A sheet with no times: 24 frames evenly inside the run, neither its
    // first nor its last (both black), the first at 185 and the last at 4441.
    CaptureOptions sheet;
    std::string error;
    ASSERT_TRUE(parseCaptureOptions({ "--sheet", "s.png" }, sheet, error));
    std::vector<bool> chosen;
    ASSERT_TRUE(chooseFrames(sheet, 4628, chosen, error));
    EXPECT_EQ(std::count(chosen.begin(), chosen.end(), true), 24);
    EXPECT_EQ(std::find(chosen.begin(), chosen.end(), true) - chosen.begin(), 185);
    EXPECT_EQ(chosen.rend() - std::find(chosen.rbegin(), chosen.rend(), true) - 1, 4441);
}
