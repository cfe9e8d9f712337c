#include "WineProgram.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

std::string windowsProgramFolder()
{
    const char* named = std::getenv("LUMAROLL_WINDOWS_DIR");
    return named != nullptr && named[0] != '\0' ? named : LUMAROLL_SOURCE_DIR "/build-windows";
}

std::string windowsProgram()
{
    return windowsProgramFolder() + "/lumaroll.exe";
}

void startUnderWine(DemoProcess& demo, const std::vector<std::string>& arguments,
    const std::vector<std::string>& environment, const std::string& program)
{
    std::vector<std::string> line { program };
    line.insert(line.end(), arguments.begin(), arguments.end());
    std::vector<std::string> variables { "LUMAROLL_WINEPREFIX=" + windowsProgramFolder() + "/wineprefix" };
    variables.insert(variables.end(), environment.begin(), environment.end());
    // stdbuf means nothing to a Windows program, which flushes its lines itself.
    demo.outputAsItIs();
    demo.start(line, variables, LUMAROLL_SOURCE_DIR "/scripts/wine-run.sh");
}

bool waitUntilHeldStill(DemoProcess& demo, const std::string& syncLogPath, int seconds, std::chrono::microseconds every)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < end) {
        std::ifstream file(syncLogPath, std::ios::binary);
        const std::string text(std::istreambuf_iterator<char>(file), {});
        if (text.size() >= 8 && text.compare(text.size() - 8, 8, "stopped\n") == 0)
            return true;
        // A Windows program writes its lines with CR LF.
        if (text.size() >= 9 && text.compare(text.size() - 9, 9, "stopped\r\n") == 0)
            return true;
        if (demo.outputSoFar().find("Frames: ") != std::string::npos)
            return false; // it ended its run without holding still
        std::this_thread::sleep_for(every);
    }
    return false;
}

RgbFrame grabSteadyWindow(const std::string& windowId)
{
    RgbFrame last = grabWindow(windowId);
    for (int read = 0; read < 50; ++read) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        RgbFrame now = grabWindow(windowId);
        if (!now.rgb.empty() && now.rgb == last.rgb && now.width == last.width)
            return now;
        last = std::move(now);
    }
    return RgbFrame {};
}

std::size_t pixelsApart(const RgbFrame& shown, const RgbFrame& expected)
{
    if (shown.width != expected.width || shown.height != expected.height || shown.rgb.size() != expected.rgb.size())
        return static_cast<std::size_t>(std::max(expected.width * expected.height, 1));
    std::size_t apart = 0;
    for (std::size_t pixel = 0; pixel + 2 < expected.rgb.size(); pixel += 3) {
        bool off = false;
        for (std::size_t channel = 0; channel < 3; ++channel)
            off = off || std::abs(shown.rgb[pixel + channel] - expected.rgb[pixel + channel]) > 255 * 2 / 100;
        apart += off ? 1u : 0u;
    }
    return apart;
}
