#include "CapturedFrames.h"

#include "DemoProcess.h"
#include "capture/PngFile.h"

#include <cstdio>

std::vector<RgbFrame> capturedFrames(const std::string& settings, const std::vector<long>& times)
{
    DemoProcess capture;
    capture.linkDataWithSettings(settings);
    std::string list;
    for (const long time : times)
        list += (list.empty() ? "" : ",") + std::to_string(time);
    capture.startCapture({ "--at", list, "--out", capture.directory() + "/frames" });
    std::vector<RgbFrame> frames;
    if (capture.finish(60).status != 0)
        return std::vector<RgbFrame>(times.size());
    for (const long time : times) {
        char name[32];
        std::snprintf(name, sizeof name, "/frames/lumaroll-%05ld.png", time);
        frames.push_back(loadPng(capture.directory() + name));
    }
    return frames;
}
