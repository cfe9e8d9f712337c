// The whole run through the capture tool at moments that cover every camera
// move and event of each scene, compared with committed reference frames.
// After an intended change to the picture, rewrite the references with
// LUMAROLL_GOLDEN_REFRESH=1 ./test.sh -R GoldenFrames and look at them before
// committing. A frame that differs is written with its difference image under
// the build folder's golden-diff/.
#include "DemoProcess.h"
#include "capture/PngFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string goldenDir = std::string(LUMAROLL_SOURCE_DIR) + "/tests/golden/";
const std::string diffDir = std::string(LUMAROLL_BINARY_DIR) + "/golden-diff/";

// The moments and the seed the web page's golden test shares (moments.txt).
struct GoldenMoments {
    std::string seed;
    std::vector<std::string> times;
};

GoldenMoments goldenMoments()
{
    GoldenMoments golden;
    std::ifstream file(goldenDir + "moments.txt");
    for (std::string word; file >> word;) {
        if (word[0] == '#')
            std::getline(file, word);
        else if (word == "seed")
            file >> golden.seed;
        else
            golden.times.push_back(word);
    }
    return golden;
}

const char* const refresh = std::getenv("LUMAROLL_GOLDEN_REFRESH");
const bool refreshing = refresh != nullptr && refresh[0] != '\0' && refresh[0] != '0';

// Each channel within ±2 of the reference, and at most 0.5% of the pixels
// outside that: the software renderer's rounding, not a change of picture.
::testing::AssertionResult matchesReference(const std::string& captured, const std::string& name)
{
    const RgbFrame frame = loadPng(captured);
    const RgbFrame reference = loadPng(goldenDir + name);
    if (frame.rgb.empty() || reference.width != frame.width || reference.height != frame.height)
        return ::testing::AssertionFailure()
            << "no frame " << captured << " or no reference " << goldenDir << name << " of its size";
    RgbFrame difference = frame;
    std::size_t outside = 0;
    for (std::size_t p = 0; p < frame.rgb.size(); p += 3) {
        int worst = 0;
        for (std::size_t c = 0; c < 3; ++c)
            worst = std::max(worst, std::abs(frame.rgb[p + c] - reference.rgb[p + c]));
        outside += worst > 2 ? 1 : 0;
        // Grey for small differences, white where the tolerance is passed.
        difference.rgb[p] = difference.rgb[p + 1] = difference.rgb[p + 2]
            = static_cast<unsigned char>(worst > 2 ? 255 : worst * 16);
    }
    const std::size_t pixels = frame.rgb.size() / 3;
    if (outside * 200 <= pixels)
        return ::testing::AssertionSuccess();
    fs::create_directories(diffDir);
    fs::copy_file(captured, diffDir + "actual-" + name, fs::copy_options::overwrite_existing);
    savePng(difference, diffDir + "difference-" + name);
    return ::testing::AssertionFailure() << name << ": " << outside << " of " << pixels
                                         << " pixels differ by more than 2; see " << diffDir;
}

} // namespace

TEST(GoldenFrames, TheWholeRunAtEachCameraAndEventLooksAsItsReferences)
{
    const GoldenMoments golden = goldenMoments();
    ASSERT_FALSE(golden.times.empty() || golden.seed.empty()) << goldenDir << "moments.txt";
    std::string times;
    for (const std::string& time : golden.times)
        times += (times.empty() ? "" : ",") + time;
    DemoProcess capture;
    capture.linkData({ "settings.ini" });
    capture.writeFile("data/settings.ini", "seed " + golden.seed + "\n");
    const std::string frames = capture.directory() + "/frames";
    capture.startCapture({ "--size", "200x160", "--at", times, "--out", frames });
    const DemoProcess::Result result = capture.finish(120);
    ASSERT_EQ(result.status, 0) << result.err;
    // "Captured ... (N frames/s, RENDERER) into ..."
    const std::size_t open = result.out.find(" frames/s, ", result.out.rfind("Captured "));
    const std::size_t close = result.out.find(") into ", open);
    ASSERT_NE(close, std::string::npos) << result.out;
    const std::string renderer = result.out.substr(open + 11, close - open - 11);

    std::string madeWith;
    if (refreshing) {
        std::ofstream(goldenDir + "renderer.txt") << renderer << "\n";
    } else {
        std::getline(std::ifstream(goldenDir + "renderer.txt"), madeWith);
        if (madeWith != renderer)
            GTEST_SKIP() << "the reference frames were made with '" << madeWith << "', this is '" << renderer << "'";
    }
    int compared = 0;
    for (const auto& entry : fs::directory_iterator(frames)) {
        const std::string name = entry.path().filename().string();
        ++compared;
        if (refreshing)
            fs::copy_file(entry.path(), goldenDir + name, fs::copy_options::overwrite_existing);
        else
            EXPECT_TRUE(matchesReference(entry.path().string(), name));
    }
    EXPECT_EQ(compared, static_cast<int>(golden.times.size()));
}
