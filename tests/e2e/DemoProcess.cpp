#include "DemoProcess.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string readAll(const fs::path& path)
{
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

const char* const caption = "^Lumaroll - ZEQ 2012$";

} // namespace

std::string shellOutput(const std::string& command)
{
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[512];
        size_t got;
        while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            text.append(buffer, got);
        pclose(pipe);
    }
    return text;
}

DemoProcess::DemoProcess()
{
    char name[] = "/tmp/lumaroll-run-XXXXXX";
    dir = mkdtemp(name);
}

DemoProcess::~DemoProcess()
{
    if (pid > 0 && !reaped) {
        kill(-pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    std::error_code ignored;
    fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(dir, ignored);
    fs::remove(dir + ".stdout.txt", ignored);
    fs::remove(dir + ".stderr.txt", ignored);
}

void DemoProcess::linkData(const std::vector<std::string>& except)
{
    const fs::path source = fs::path(LUMAROLL_SOURCE_DIR) / "data";
    for (const auto& entry : fs::recursive_directory_iterator(source)) {
        if (!entry.is_regular_file())
            continue;
        const fs::path relative = fs::relative(entry.path(), source);
        bool skipped = false;
        for (const std::string& path : except)
            skipped = skipped || relative == fs::path(path);
        if (skipped)
            continue;
        const fs::path target = fs::path(dir) / "data" / relative;
        fs::create_directories(target.parent_path());
        fs::create_symlink(entry.path(), target);
    }
}

void DemoProcess::writeFile(const std::string& relativePath, const std::string& text)
{
    const fs::path target = fs::path(dir) / relativePath;
    fs::create_directories(target.parent_path());
    fs::remove(target);
    std::ofstream(target) << text;
}

void DemoProcess::start(const std::vector<std::string>& environment)
{
    startProgram(LUMAROLL_BINARY, {}, environment);
}

void DemoProcess::startDemo(const std::vector<std::string>& arguments, const std::vector<std::string>& environment)
{
    startProgram(LUMAROLL_BINARY, arguments, environment);
}

void DemoProcess::startCapture(const std::vector<std::string>& arguments, const std::vector<std::string>& environment)
{
    startProgram(LUMAROLL_CAPTURE_BINARY, arguments, environment);
}

void DemoProcess::startProgram(
    const std::string& binary, const std::vector<std::string>& arguments, const std::vector<std::string>& environment)
{
    const std::string out = dir + ".stdout.txt";
    const std::string err = dir + ".stderr.txt";
    pid = fork();
    if (pid == 0) {
        // Its own process group, so that a timeout takes whatever it started
        // too; and it goes if the test runner goes first.
        setpgid(0, 0);
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (chdir(dir.c_str()) != 0)
            _exit(120);
        if (addressSpace != 0) {
            const rlimit limit { addressSpace, addressSpace };
            setrlimit(RLIMIT_AS, &limit);
        }
        if (streamsMode == Streams::Captured) {
            std::freopen(out.c_str(), "w", stdout);
            std::freopen(err.c_str(), "w", stderr);
        } else if (streamsMode == Streams::Closed) {
            close(STDOUT_FILENO);
            close(STDERR_FILENO);
        } else {
            int ends[2];
            if (pipe(ends) != 0)
                _exit(121);
            close(ends[0]);
            dup2(ends[1], STDOUT_FILENO);
            dup2(ends[1], STDERR_FILENO);
            close(ends[1]);
        }
        // Silent output unless a test asks for a driver: test machines have
        // no sound card, and the one that has should stay quiet.
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        // The user's own settings stay out of the tests' runs.
        setenv("XDG_CONFIG_HOME", (dir + "/config").c_str(), 1);
        for (const std::string& assignment : environment)
            if (!assignment.empty())
                putenv(const_cast<char*>(assignment.c_str()));
        // Standard output line by line, so that waitForOutput sees each line
        // as it is printed rather than when a block fills.
        std::vector<char*> argv { const_cast<char*>("stdbuf"), const_cast<char*>("-oL"),
            const_cast<char*>(binary.c_str()) };
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        execv("/usr/bin/stdbuf", argv.data()); // by its path: a test may empty PATH
        _exit(127);
    }
    setpgid(pid, pid); // also here, so that no kill can come before the child's own call
}

std::string firstFrameBufferDeleted(const std::string& out)
{
    const std::string created = "New FrameBuffer id: ";
    const std::size_t at = out.find(created);
    if (at == std::string::npos)
        return "(no framebuffer was created)";
    return "FrameBuffer '" + std::to_string(std::strtoul(out.c_str() + at + created.size(), nullptr, 10))
        + "' deleted\n";
}

bool DemoProcess::hasLoaded(const std::string& pathPart)
{
    return readAll("/proc/" + std::to_string(pid) + "/maps").find(pathPart) != std::string::npos;
}

void DemoProcess::signal(int number)
{
    kill(pid, number);
}

std::string DemoProcess::waitForWindow(int seconds)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < end) {
        // By process as well as caption: other tests' demos share the X server.
        std::string id = shellOutput(
            "xdotool search --all --pid " + std::to_string(pid) + " --name '" + caption + "' 2>/dev/null | head -n 1");
        while (!id.empty() && (id.back() == '\n' || id.back() == ' '))
            id.pop_back();
        if (!id.empty())
            return id;
        if (ended())
            return "";
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return "";
}

bool DemoProcess::waitFor(const std::function<bool(const std::string&)>& seen, int seconds)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < end) {
        if (seen(readAll(dir + ".stdout.txt") + readAll(dir + ".stderr.txt")))
            return true;
        if (ended())
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

bool DemoProcess::waitForOutput(const std::string& text, int seconds)
{
    return waitFor([&](const std::string& output) { return output.find(text) != std::string::npos; }, seconds);
}

bool DemoProcess::waitForFrames(unsigned long frames, int seconds)
{
    return waitFor(
        [&](const std::string& output) {
            unsigned long counted = 0;
            for (std::size_t at = output.find("FPS: "); at != std::string::npos; at = output.find("FPS: ", at + 1))
                counted += std::strtoul(output.c_str() + at + 5, nullptr, 10);
            return counted >= frames;
        },
        seconds);
}

void DemoProcess::pressKey(const std::string& windowId, const std::string& key)
{
    // A tap, pressed and let go at once: the loop must find it in the queue,
    // as the key state has forgotten it by the next pass. Sent to the window
    // itself, not to whichever has the focus. xdotool presses through the X
    // server's own keyboard (XTEST) when the window has the focus, as SDL2's
    // windows take it; a release sent to a window that is gone already would
    // leave the key held in the server, and the next window that SDL2 opens
    // reads the held key (an Escape: it quits at once). So the key is
    // released in the server too.
    const std::string command = "xdotool keydown --window " + windowId + " " + key + " keyup --window " + windowId + " "
        + key + " 2>/dev/null; xdotool keyup " + key + " 2>/dev/null";
    std::system(command.c_str());
}

std::string DemoProcess::windowSize(const std::string& windowId)
{
    const std::string info = shellOutput("xwininfo -id " + windowId + " 2>/dev/null");
    auto field = [&](const std::string& name) {
        const size_t at = info.find(name);
        return at == std::string::npos ? std::string("?") : std::to_string(std::atoi(info.c_str() + at + name.size()));
    };
    return field("Width: ") + "x" + field("Height: ");
}

bool DemoProcess::waitUntilStopped(int seconds, std::chrono::microseconds poll)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < end && !ended()) {
        // The state follows the command's name, which is in parentheses.
        const std::string stat = readAll("/proc/" + std::to_string(pid) + "/stat");
        const std::size_t close = stat.rfind(") ");
        if (close != std::string::npos && stat.compare(close + 2, 1, "T") == 0)
            return true;
        std::this_thread::sleep_for(poll);
    }
    return false;
}

RgbFrame grabWindow(const std::string& windowId)
{
    RgbFrame frame;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return frame;
    const Window window = std::strtoul(windowId.c_str(), nullptr, 0);
    XWindowAttributes attributes {};
    if (XGetWindowAttributes(display, window, &attributes) != 0) {
        if (XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned int>(attributes.width),
                static_cast<unsigned int>(attributes.height), AllPlanes, ZPixmap)) {
            frame.width = attributes.width;
            frame.height = attributes.height;
            frame.rgb.resize(static_cast<std::size_t>(frame.width) * static_cast<std::size_t>(frame.height) * 3u);
            // A 24-bit TrueColor screen: 8 bits a channel under the masks.
            auto channel = [](unsigned long pixel, unsigned long mask) {
                int shift = 0;
                while (mask != 0 && (mask & 1u) == 0) {
                    mask >>= 1;
                    ++shift;
                }
                return static_cast<unsigned char>((pixel >> shift) & 0xFFu);
            };
            for (int y = 0; y < frame.height; ++y)
                for (int x = 0; x < frame.width; ++x) {
                    const unsigned long pixel = XGetPixel(image, x, frame.height - 1 - y);
                    unsigned char* to = &frame.rgb[(static_cast<std::size_t>(y) * static_cast<std::size_t>(frame.width)
                                                       + static_cast<std::size_t>(x))
                        * 3u];
                    to[0] = channel(pixel, image->red_mask);
                    to[1] = channel(pixel, image->green_mask);
                    to[2] = channel(pixel, image->blue_mask);
                }
            XDestroyImage(image);
        }
    }
    XCloseDisplay(display);
    return frame;
}

std::size_t valuesApart(const RgbFrame& shown, const RgbFrame& expected)
{
    if (shown.width != expected.width || shown.height != expected.height || shown.rgb.size() != expected.rgb.size())
        return std::max(shown.rgb.size(), expected.rgb.size());
    std::size_t apart = 0;
    for (std::size_t i = 0; i < expected.rgb.size(); ++i)
        apart += std::abs(shown.rgb[i] - expected.rgb[i]) > 2 ? 1u : 0u;
    return apart;
}

bool DemoProcess::ended()
{
    if (!reaped && pid > 0 && waitpid(pid, &waitStatus, WNOHANG) == pid)
        reaped = true;
    return reaped;
}

DemoProcess::Result DemoProcess::finish(int timeoutSeconds)
{
    Result result;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    while (!ended() && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (!reaped) {
        result.timedOut = true;
        kill(-pid, SIGKILL);
        waitpid(pid, &waitStatus, 0);
        reaped = true;
    }
    if (WIFEXITED(waitStatus))
        result.status = WEXITSTATUS(waitStatus);
    result.out = readAll(dir + ".stdout.txt");
    result.err = readAll(dir + ".stderr.txt");
    return result;
}

std::vector<LoggedFrame> syncLog(const std::string& path)
{
    std::vector<LoggedFrame> frames;
    std::ifstream file(path);
    LoggedFrame f {};
    while (file >> f.pass >> f.due >> f.begun >> f.shown >> f.music >> f.wall)
        frames.push_back(f);
    return frames;
}

std::vector<std::int16_t> trackFrom(std::uint32_t milliseconds, std::size_t count)
{
    std::vector<std::int16_t> samples(count);
    OggVorbis_File file;
    if (ov_fopen((std::string(LUMAROLL_SOURCE_DIR) + "/data/music/vobra.ogg").c_str(), &file) != 0)
        return {};
    if (milliseconds > 0)
        ov_time_seek(&file, milliseconds / 1000.0);
    std::size_t got = 0;
    int section = 0;
    while (got < count) {
        const long bytes = ov_read(&file, reinterpret_cast<char*>(samples.data() + got),
            static_cast<int>((count - got) * 2), 0, 2, 1, &section);
        if (bytes <= 0)
            break;
        got += static_cast<std::size_t>(bytes) / 2;
    }
    ov_clear(&file);
    samples.resize(got);
    return samples;
}
