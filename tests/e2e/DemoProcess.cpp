#include "DemoProcess.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string readAll(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

} // namespace

std::size_t occurrences(const std::string& text, const std::string& part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

std::string shellOutput(const std::string& command)
{
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[512];
        for (size_t got; (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
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
        const fs::path relative = fs::relative(entry.path(), source);
        if (!entry.is_regular_file() || std::find(except.begin(), except.end(), relative.string()) != except.end())
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
    std::ofstream(target, std::ios::binary) << text;
}

void DemoProcess::start(
    const std::vector<std::string>& arguments, const std::vector<std::string>& environment, const std::string& binary)
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
        if (fileSize != 0) {
            // SIGXFSZ as a shell leaves it: the program must keep on itself.
            const rlimit limit { fileSize, fileSize };
            setrlimit(RLIMIT_FSIZE, &limit);
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
        // No sound unless a test asks for an output: test machines have no
        // sound card, and the one that has should stay quiet.
        setenv("LUMAROLL_AUDIO", "none", 1);
        // The user's own settings stay out of the tests' runs.
        setenv("XDG_CONFIG_HOME", (dir + "/config").c_str(), 1);
        for (const std::string& assignment : environment)
            if (!assignment.empty())
                putenv(const_cast<char*>(assignment.c_str()));
        // Standard output line by line, so that waitForOutput sees each line
        // as it is printed rather than when a block fills.
        std::vector<char*> argv { const_cast<char*>("stdbuf"), const_cast<char*>("-oL"),
            const_cast<char*>(binary.c_str()) };
        if (!lineBuffered)
            argv.erase(argv.begin(), argv.begin() + 2);
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        // By their paths: a test may empty PATH.
        execv(lineBuffered ? "/usr/bin/stdbuf" : binary.c_str(), argv.data());
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

bool DemoProcess::poll(const std::function<bool()>& done, int seconds, std::chrono::microseconds every)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < end) {
        if (done())
            return true;
        if (ended())
            return false;
        std::this_thread::sleep_for(every);
    }
    return false;
}

std::string DemoProcess::waitForWindow(int seconds)
{
    std::string id;
    poll(
        [&] {
            // By process as well as caption: other tests' demos share the X server.
            id = shellOutput("xdotool search --all --pid " + std::to_string(pid)
                + " --name '^Lumaroll - ZEQ 2012$' 2>/dev/null | head -n 1");
            while (!id.empty() && (id.back() == '\n' || id.back() == ' '))
                id.pop_back();
            return !id.empty();
        },
        seconds, std::chrono::milliseconds(100));
    return id;
}

bool DemoProcess::waitForOutput(const std::string& text, int seconds)
{
    return poll([&] { return outputSoFar().find(text) != std::string::npos; }, seconds, std::chrono::milliseconds(100));
}

std::string DemoProcess::outputSoFar() const
{
    return readAll(dir + ".stdout.txt") + readAll(dir + ".stderr.txt");
}

bool DemoProcess::waitForFrames(unsigned long frames, int seconds)
{
    return poll(
        [&] {
            const std::string output = readAll(dir + ".stdout.txt");
            unsigned long counted = 0;
            for (std::size_t at = output.find("FPS: "); at != std::string::npos; at = output.find("FPS: ", at + 1))
                counted += std::strtoul(output.c_str() + at + 5, nullptr, 10);
            return counted >= frames;
        },
        seconds, std::chrono::milliseconds(100));
}

bool DemoProcess::waitUntilStopped(int seconds, std::chrono::microseconds every)
{
    return poll(
        [&] {
            // The state follows the command's name, which is in parentheses.
            const std::string stat = readAll("/proc/" + std::to_string(pid) + "/stat");
            const std::size_t close = stat.rfind(") ");
            return close != std::string::npos && stat.compare(close + 2, 1, "T") == 0;
        },
        seconds, every);
}

void DemoProcess::pressKey(const std::string& windowId, const std::string& key)
{
    // A tap, pressed and let go at once: the loop must find it in the queue.
    // Sent to the window itself; released in the server too, or a window of
    // SDL2's (which takes the focus, so xdotool presses through XTEST) that is
    // gone by the release leaves the key held for the next one to read.
    const std::string command = "xdotool keydown --window " + windowId + " " + key + " keyup --window " + windowId + " "
        + key + " 2>/dev/null; xdotool keyup " + key + " 2>/dev/null";
    std::system(command.c_str());
}

void DemoProcess::pressKeys(const std::string& windowId, const std::vector<std::string>& keys, int apartMs)
{
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return;
    const Window window = std::strtoul(windowId.c_str(), nullptr, 0);
    // Sent to the window, each press and release stamped as a keyboard
    // would, `apartMs` after the last: SDL 1.2 takes a release and a press of
    // the same key stamped alike (as xdotool's are) for a held key repeating.
    Time stamp = 1;
    for (const std::string& key : keys) {
        XKeyEvent event {};
        event.display = display;
        event.window = window;
        event.root = DefaultRootWindow(display);
        event.same_screen = True;
        event.keycode = XKeysymToKeycode(display, XStringToKeysym(key.c_str()));
        for (const int type : { KeyPress, KeyRelease }) {
            event.type = type;
            event.time = stamp++;
            XSendEvent(display, window, True, type == KeyPress ? KeyPressMask : KeyReleaseMask,
                reinterpret_cast<XEvent*>(&event));
        }
        XFlush(display);
        stamp += static_cast<Time>(apartMs);
        std::this_thread::sleep_for(std::chrono::milliseconds(apartMs));
    }
    XCloseDisplay(display);
}

RgbFrame grabWindow(const std::string& windowId)
{
    RgbFrame frame;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return frame;
    const Window window = std::strtoul(windowId.c_str(), nullptr, 0);
    XWindowAttributes attributes {};
    XImage* image = XGetWindowAttributes(display, window, &attributes) == 0
        ? nullptr
        : XGetImage(display, window, 0, 0, static_cast<unsigned int>(attributes.width),
            static_cast<unsigned int>(attributes.height), AllPlanes, ZPixmap);
    if (image != nullptr) {
        frame.width = attributes.width;
        frame.height = attributes.height;
        // A 24-bit TrueColor screen: 8 bits a channel under the masks.
        const unsigned long masks[3] = { image->red_mask, image->green_mask, image->blue_mask };
        for (int y = frame.height - 1; y >= 0; --y)
            for (int x = 0; x < frame.width; ++x)
                for (const unsigned long mask : masks) {
                    const unsigned long lowest = mask & (~mask + 1);
                    frame.rgb.push_back(
                        static_cast<unsigned char>(lowest == 0 ? 0 : (XGetPixel(image, x, y) & mask) / lowest));
                }
        XDestroyImage(image);
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
    poll([] { return false; }, timeoutSeconds, std::chrono::milliseconds(50));
    if (!ended()) {
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
    for (LoggedFrame f {}; file >> f.pass >> f.due >> f.begun >> f.shown >> f.music >> f.wall >> f.wallBefore;)
        frames.push_back(f);
    return frames;
}
