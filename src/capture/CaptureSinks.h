#pragma once

#include "capture/FrameWriter.h"
#include "capture/Progress.h"
#include "core/RgbFrame.h"
#include "course/FrameSink.h"
#include "demo/DemoRun.h"

#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A capture's output. The run hands it the chosen frames; `finish` then puts
// the result under its final name, and `abandon` removes whatever is
// half-written, so that a failed or interrupted capture leaves nothing that
// looks whole.
class CaptureSink : public FrameSink {
public:
    // `chosen` has one entry per frame of the run; `size` 0x0 takes the settings' size.
    CaptureSink(std::vector<bool> chosen, Resolution size, Progress& progress);

    Resolution frameSize(const Resolution& settingsSize) override;
    bool wants(std::uint32_t pass) override;
    void passDone(std::uint32_t pass) override;
    void drawnBy(const std::string& renderer) override { rendererName = renderer; }

    // Every pass drawn; only the chosen frames are kept.
    void drawEveryPass() { drawAll = true; }

    // False, after a message, when not every chosen frame arrived or the output cannot be completed.
    virtual bool finish();
    virtual void abandon() = 0;

    const Resolution& size() const { return drawSize; }
    // The GL renderer that drew the frames, as it names itself.
    const std::string& renderer() const { return rendererName; }

protected:
    static std::string frameName(std::uint32_t pass);
    // Whether frame `pass` is one asked for (and not only drawn for the next).
    bool chose(std::uint32_t pass) const { return pass < chosen.size() && chosen[pass]; }
    std::vector<bool> chosen;
    Resolution drawSize;
    std::uint32_t expected = 0;
    std::uint32_t taken = 0;

private:
    Progress& progress;
    std::string rendererName;
    bool drawAll = false;
};

// One PNG file per chosen frame in a folder, each written under a partial
// name and renamed once whole, on the writer's thread.
class PngFrames : public CaptureSink {
public:
    PngFrames(const std::string& folder, std::vector<bool> chosen, Resolution size, Progress& progress);
    // False, after a message, when the folder cannot be made or written.
    bool ready();
    bool take(std::uint32_t pass, const RgbFrame& frame) override;
    bool finish() override;
    void abandon() override;

private:
    std::string folder;
    FrameWriter writer;
};

// The chosen frames tiled six to a row into one picture.
class ContactSheet : public CaptureSink {
public:
    static constexpr std::uint32_t columns = 6;
    ContactSheet(const std::string& file, std::vector<bool> chosen, Resolution size, Progress& progress);
    bool ready();
    bool take(std::uint32_t pass, const RgbFrame& frame) override;
    bool finish() override;
    void abandon() override;

private:
    std::string file; // as named
    std::string target; // its links followed, once ready
    RgbFrame sheet;
    std::uint32_t placed = 0;
};

// Every frame, piped as raw video to ffmpeg, which encodes H.264 and muxes the
// soundtrack in from the first frame.
class VideoFile : public CaptureSink {
public:
    VideoFile(const std::string& file, std::uint32_t frames, Resolution size, Progress& progress);
    ~VideoFile() override;
    // False, after a message, without ffmpeg or a writable place for the file.
    bool ready();
    Resolution frameSize(const Resolution& settingsSize) override;
    bool take(std::uint32_t pass, const RgbFrame& frame) override;
    bool finish() override;
    void abandon() override;

private:
    bool startEncoder();
    bool stopEncoder(); // true when ffmpeg ended well

    std::string file; // as named
    std::string target; // its links followed, once ready
    std::string partial;
    int pipe = -1;
    pid_t encoder = -1;
    bool stopping = false; // abandoned: ffmpeg is to go
    FrameWriter writer; // last: goes first, before the pipe it writes to is closed
};
