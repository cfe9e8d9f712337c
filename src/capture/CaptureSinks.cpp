#include "capture/CaptureSinks.h"

#include "capture/OutputPath.h"
#include "capture/PartialFiles.h"
#include "capture/PngFile.h"
#include "core/DataFiles.h"
#include "core/Quoted.h"
#include "course/RunLength.h"
#include "course/StopSignals.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// The writers' waits end on Ctrl-C and the like, even when a job is stuck.
bool interruptedBySignal()
{
    return StopSignals::received() != 0;
}

bool renameInto(const std::string& from, const std::string& to)
{
    const bool renamed = std::rename(from.c_str(), to.c_str()) == 0;
    // A partial file removed because the process is exiting is no news.
    if (!renamed && !PartialFiles::exiting())
        std::cerr << "Cannot name the capture " << quoteForMessage(to) << ": " << std::strerror(errno) << std::endl;
    return renamed;
}

// Removes a partial file and lets it go.
void discard(const std::string& partial)
{
    std::remove(partial.c_str());
    PartialFiles::forget(partial);
}

// A partial file of our own beside `final`, or -1 after a line saying why
// (none once the process is exiting: that is no news).
PartialFiles::Made makePartial(const std::string& final, const std::string& suffix)
{
    std::string why;
    PartialFiles::Made made = PartialFiles::make(final, suffix, why);
    if (made.descriptor < 0 && !PartialFiles::exiting())
        std::cerr << "Cannot write beside " << quoteForMessage(final) << ": " << why << std::endl;
    return made;
}

} // namespace

CaptureSink::CaptureSink(std::vector<bool> frames, Resolution size, Progress& progress)
    : chosen(std::move(frames))
    , drawSize(size)
    , progress(progress)
{
    for (bool wanted : chosen)
        expected += wanted ? 1u : 0u;
}

Resolution CaptureSink::frameSize(const Resolution& settingsSize)
{
    if (drawSize.width == 0 || drawSize.height == 0)
        drawSize = settingsSize;
    return drawSize;
}

bool CaptureSink::wants(std::uint32_t pass)
{
    // The final frame shows the picture of the pass before it again, so that
    // one is drawn too, though not kept.
    const bool beforeFinal = pass + 2 == chosen.size() && chosen.back();
    return drawAll || chose(pass) || beforeFinal;
}

void CaptureSink::passDone(std::uint32_t pass)
{
    progress.passDone(pass, chose(pass));
}

bool CaptureSink::finish()
{
    progress.finish();
    if (taken == expected)
        return true;
    std::cerr << "The run ended after " << taken << " of the " << expected << " frames asked for" << std::endl;
    return false;
}

std::string CaptureSink::frameName(std::uint32_t pass)
{
    char name[40];
    std::snprintf(name, sizeof name, "lumaroll-%05u.png", pass * frameMilliseconds);
    return name;
}

PngFrames::PngFrames(const std::string& path, std::vector<bool> frames, Resolution size, Progress& progress)
    : CaptureSink(std::move(frames), size, progress)
    , folder(path)
    , writer(3, interruptedBySignal)
{
}

bool PngFrames::ready()
{
    std::vector<std::string> names;
    for (std::uint32_t pass = 0; pass < chosen.size(); ++pass)
        if (chosen[pass])
            names.push_back(frameName(pass));
    const std::string why = OutputPath::checkFolder(folder, names);
    if (why.empty())
        return true;
    std::cerr << "Cannot write frames into " << quoteForMessage(folder) << ": " << why << std::endl;
    return false;
}

bool PngFrames::take(std::uint32_t pass, const RgbFrame& frame)
{
    if (!chose(pass))
        return true;
    const std::string final = (fs::path(folder) / frameName(pass)).string();
    if (!writer.push(frame, [final](const RgbFrame& pixels) {
            const PartialFiles::Made partial = makePartial(final, ".partial");
            if (partial.descriptor < 0)
                return false;
            const bool written = savePng(pixels, partial.descriptor, final) && renameInto(partial.path, final);
            if (written)
                PartialFiles::forget(partial.path);
            else
                discard(partial.path);
            return written;
        }))
        return false; // a frame before it failed, and said why
    ++taken;
    return true;
}

bool PngFrames::finish()
{
    return writer.drain() && CaptureSink::finish();
}

void PngFrames::abandon()
{
    // A frame being written is finished under its own name; none waits.
    writer.cancel();
}

ContactSheet::ContactSheet(const std::string& path, std::vector<bool> frames, Resolution size, Progress& progress)
    : CaptureSink(std::move(frames), size, progress)
    , file(path)
{
}

bool ContactSheet::ready()
{
    std::string why;
    target = OutputPath::forFile(file, why);
    if (!target.empty())
        return true;
    std::cerr << "Cannot write the sheet " << quoteForMessage(file) << ": " << why << std::endl;
    return false;
}

bool ContactSheet::take(std::uint32_t pass, const RgbFrame& frame)
{
    if (!chose(pass))
        return true;
    const std::uint32_t rows = (expected + columns - 1) / columns;
    const auto tileWidth = static_cast<std::size_t>(frame.width);
    const auto tileHeight = static_cast<std::size_t>(frame.height);
    if (sheet.rgb.empty()) {
        sheet.width = static_cast<int>(tileWidth * columns);
        sheet.height = static_cast<int>(tileHeight * rows);
        sheet.rgb.assign(static_cast<std::size_t>(sheet.width) * static_cast<std::size_t>(sheet.height) * 3u, 0);
    }
    // Rows run bottom-up, so the first row of tiles lies at the top of the buffer's end.
    const std::size_t column = placed % columns;
    const std::size_t row = rows - 1 - placed / columns;
    for (std::size_t y = 0; y < tileHeight; ++y) {
        const auto* from = frame.rgb.data() + y * tileWidth * 3u;
        auto* to = sheet.rgb.data()
            + ((row * tileHeight + y) * static_cast<std::size_t>(sheet.width) + column * tileWidth) * 3u;
        std::copy(from, from + tileWidth * 3u, to);
    }
    ++placed;
    ++taken;
    return true;
}

bool ContactSheet::finish()
{
    if (!CaptureSink::finish())
        return false;
    const PartialFiles::Made partial = makePartial(target, ".partial");
    if (partial.descriptor < 0)
        return false;
    if (!savePng(sheet, partial.descriptor, target, PngCompression::Small) || !renameInto(partial.path, target)) {
        discard(partial.path);
        return false;
    }
    PartialFiles::forget(partial.path);
    return true;
}

void ContactSheet::abandon()
{
    // Nothing of ours stands on disk but while finish() writes, and a file
    // it leaves at an exit is removed then.
}

VideoFile::VideoFile(const std::string& path, std::uint32_t frames, Resolution size, Progress& progress)
    : CaptureSink(std::vector<bool>(frames, true), size, progress)
    , file(path)
    , writer(3, interruptedBySignal)
{
}

VideoFile::~VideoFile()
{
    if (encoder > 0)
        abandon();
}

bool VideoFile::ready()
{
    bool found = false;
    const char* path = std::getenv("PATH");
    std::string folders = path != nullptr ? path : "/usr/bin:/bin";
    for (std::size_t start = 0; !found && start <= folders.size();) {
        const std::size_t end = std::min(folders.find(':', start), folders.size());
        const fs::path candidate = fs::path(folders.substr(start, end - start)) / "ffmpeg";
        found = access(candidate.c_str(), X_OK) == 0;
        start = end + 1;
    }
    if (!found) {
        std::cerr << "The video needs ffmpeg, which is not installed (Debian: apt-get install ffmpeg)" << std::endl;
        return false;
    }
    std::string why;
    target = OutputPath::forFile(file, why);
    if (target.empty()) {
        std::cerr << "Cannot write the video " << quoteForMessage(file) << ": " << why << std::endl;
        return false;
    }
    return true;
}

Resolution VideoFile::frameSize(const Resolution& settingsSize)
{
    Resolution size = CaptureSink::frameSize(settingsSize);
    // The encoder's 4:2:0 colour needs even sides.
    const Resolution even { size.width > 1 ? size.width & ~1u : 2u, size.height > 1 ? size.height & ~1u : 2u };
    if (even.width != size.width || even.height != size.height)
        std::cout << "The video takes even sizes: capturing at " << even.width << "x" << even.height << std::endl;
    drawSize = even;
    return drawSize;
}

bool VideoFile::startEncoder()
{
    int ends[2];
    if (::pipe(ends) != 0) {
        std::cerr << "Cannot start ffmpeg: " << std::strerror(errno) << std::endl;
        return false;
    }
    const std::string size = std::to_string(drawSize.width) + "x" + std::to_string(drawSize.height);
    const PartialFiles::Made made = makePartial(target, ".partial.mp4");
    if (made.descriptor < 0) {
        close(ends[0]);
        close(ends[1]);
        return false;
    }
    partial = made.path;
    encoder = fork();
    if (encoder == 0) {
        // Its own process group, so that Ctrl-C stops the capture, which then
        // ends the encoder itself and removes the partial file; and it goes
        // if the capture dies.
        setpgid(0, 0);
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        dup2(ends[0], STDIN_FILENO);
        close(ends[0]);
        close(ends[1]);
        // ffmpeg writes into the very file made for it, through its
        // descriptor: nothing put at its name meanwhile is written to.
        if (made.descriptor == 3)
            fcntl(3, F_SETFD, 0); // dup2 onto itself would leave it closed at exec
        else
            dup2(made.descriptor, 3);
        execlp("ffmpeg", "ffmpeg", "-hide_banner", "-loglevel", "error", "-nostdin", "-y", "-f", "rawvideo", "-pix_fmt",
            "rgb24", "-video_size", size.c_str(), "-framerate", "62.5", "-i", "pipe:0", "-i", DataFiles::music, "-map",
            "0:v:0", "-map", "1:a:0", "-vf", "vflip", "-c:v", "libx264", "-preset", "veryfast", "-crf", "18",
            "-pix_fmt", "yuv420p", "-c:a", "aac", "-b:a", "192k", "-shortest", "-movflags", "+faststart", "-f", "mp4",
            "/proc/self/fd/3", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(made.descriptor);
    close(ends[0]);
    if (encoder < 0) {
        close(ends[1]);
        std::cerr << "Cannot start ffmpeg: " << std::strerror(errno) << std::endl;
        return false;
    }
    pipe = ends[1];
    return true;
}

bool VideoFile::take(std::uint32_t, const RgbFrame& frame)
{
    if (encoder < 0 && !startEncoder())
        return false;
    const int to = pipe;
    if (!writer.push(frame, [to](const RgbFrame& pixels) {
            const unsigned char* bytes = pixels.rgb.data();
            std::size_t left = pixels.rgb.size();
            while (left > 0) {
                const ssize_t written = write(to, bytes, left);
                if (written < 0 && errno == EINTR)
                    continue;
                if (written <= 0) {
                    if (interruptedBySignal())
                        return false; // ffmpeg was stopped on purpose
                    std::cerr << "ffmpeg stopped taking frames"
                              << (errno == EPIPE ? "" : std::string(": ") + std::strerror(errno)) << std::endl;
                    return false;
                }
                bytes += written;
                left -= static_cast<std::size_t>(written);
            }
            return true;
        })) {
        abandon();
        return false;
    }
    ++taken;
    return true;
}

bool VideoFile::stopEncoder()
{
    if (pipe >= 0)
        close(pipe);
    pipe = -1;
    // ffmpeg may take a while to finish the file: a stop signal meanwhile
    // ends it, so that the capture can remove what it leaves. One that is
    // stopped or stuck gets its SIGTERM once continued, and SIGKILL if it
    // still has not gone two seconds later.
    int status = 0;
    int waitedAfterStop = 0;
    for (;;) {
        const pid_t ended = waitpid(encoder, &status, WNOHANG);
        if (ended == encoder || (ended < 0 && errno != EINTR))
            break;
        if (StopSignals::received() != 0 || stopping) {
            kill(encoder, waitedAfterStop < 200 ? SIGTERM : SIGKILL);
            kill(encoder, SIGCONT);
            ++waitedAfterStop;
        }
        usleep(10000);
    }
    encoder = -1;
    return StopSignals::received() == 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool VideoFile::finish()
{
    if (!writer.drain() || !CaptureSink::finish()) {
        abandon();
        return false;
    }
    if (!stopEncoder()) {
        if (StopSignals::received() == 0)
            std::cerr << "ffmpeg could not make the video" << std::endl;
        discard(partial);
        return false;
    }
    if (!renameInto(partial, target)) {
        discard(partial);
        return false;
    }
    PartialFiles::forget(partial);
    return true;
}

void VideoFile::abandon()
{
    // ffmpeg first: the writer may be stuck in a write to it, which ends
    // once nobody reads the pipe.
    stopping = true;
    if (encoder > 0) {
        kill(encoder, SIGTERM);
        kill(encoder, SIGCONT);
    }
    writer.cancel();
    if (encoder > 0)
        stopEncoder();
    if (!partial.empty())
        discard(partial);
}
