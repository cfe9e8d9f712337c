// Lumaroll in a web page: the demo as on the desktop, its command line read
// from the page's address (UrlQuery.h) and its settings from the packed
// data/settings.ini, then the address. The page calls this after its start
// button, with the address's query as the one argument, and hears of the
// end through lumaroll_page_ended.

#include "core/DataFiles.h"
#include "course/CommandLine.h"
#include "course/RunLength.h"
#include "course/Settings.h"
#include "demo/DemoRun.h"
#include "platform/web/UrlQuery.h"

#include <emscripten.h>

#include <iostream>
#include <string>

extern "C" {
void lumaroll_page_message(const char* text);
void lumaroll_page_ended(int status);
}

namespace {

constexpr int badAddress = 2;

int refuse(const std::string& line)
{
    std::cerr << line << std::endl;
    lumaroll_page_message(line.c_str());
    return badAddress;
}

// The address read as a command line; "" when it can be played, else why not.
std::string readAddress(const std::string& query, UrlQuery& url, DemoCommandLine& line)
{
    std::string error;
    if (!readUrlQuery(query, url, error) || !parseDemoCommandLine(url.arguments, line, error))
        return "lumaroll: " + error;
    const std::uint32_t lastTime = lastFrameTime(runFrameCount());
    const std::uint32_t start = url.frameAt.value_or(line.start);
    if (start > lastTime)
        return "lumaroll: the run's times go up to the last frame at " + std::to_string(lastTime) + " ms; not "
            + std::to_string(start);
    return "";
}

int play(const std::string& query)
{
    UrlQuery url;
    DemoCommandLine line;
    if (const std::string problem = readAddress(query, url, line); !problem.empty())
        return refuse(problem);
    const std::uint32_t lastTime = lastFrameTime(runFrameCount());
    const std::uint32_t start = url.frameAt.value_or(line.start);

    Settings settings(DataFiles::settings);
    settings.overlay(line.settings);
    RunOptions run;
    run.settings = &settings;
    run.waitAtStart = line.wait && !url.frameAt;
    run.playMusic = !line.mute && !url.frameAt;
    run.startAt = start;
    run.lastFrameAt = lastTime;
    run.firstFrameOnly = url.frameAt.has_value();
    return runProgram(run);
}

} // namespace

// What the page asks before it offers its start button: "" when its address
// can be played, else the line that says why not.
extern "C" EMSCRIPTEN_KEEPALIVE const char* lumaroll_address_problem(const char* query)
{
    static std::string problem;
    UrlQuery url;
    DemoCommandLine line;
    problem = readAddress(query, url, line);
    return problem.c_str();
}

// What the page asks of its address, so that only this reads it: 1 or 0.
extern "C" EMSCRIPTEN_KEEPALIVE int lumaroll_address_frame_on_demand(const char* query)
{
    UrlQuery url;
    DemoCommandLine line;
    return readAddress(query, url, line).empty() && url.frameAt.has_value() ? 1 : 0;
}

extern "C" EMSCRIPTEN_KEEPALIVE int lumaroll_address_waits(const char* query)
{
    UrlQuery url;
    DemoCommandLine line;
    return readAddress(query, url, line).empty() && line.wait && !url.frameAt ? 1 : 0;
}

extern "C" EMSCRIPTEN_KEEPALIVE int lumaroll_address_mutes(const char* query)
{
    UrlQuery url;
    DemoCommandLine line;
    return readAddress(query, url, line).empty() && (line.mute || url.frameAt) ? 1 : 0;
}

int main(int argc, char** argv)
{
    const int status = play(argc > 1 ? argv[1] : "");
    lumaroll_page_ended(status);
    return status;
}
