#pragma once

#include "core/RgbFrame.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

// Writes a capture's frames on a thread of its own, so that the next frame is
// drawn while the last one is encoded or piped: the run hands a frame over
// and goes on. At most `depth` frames wait; a run that draws faster than they
// are written waits for a place. A job that fails stops the writer: later
// frames are dropped and failed() says so. A wait for a place, or for the
// last frame, also ends when `stopRequested` says so (Ctrl-C while the job
// is stuck: an ffmpeg that stopped reading).
class FrameWriter {
public:
    // What is done with one frame; false after it has said why.
    using Job = std::function<bool(const RgbFrame&)>;
    using StopRequested = std::function<bool()>;

    explicit FrameWriter(std::size_t depth = 3, StopRequested stopRequested = nullptr);
    // Drops what still waits and joins the thread.
    ~FrameWriter();
    FrameWriter(const FrameWriter&) = delete;
    FrameWriter& operator=(const FrameWriter&) = delete;

    // Queues a copy of `frame` for `job`. False once a job has failed, or
    // when a stop is requested while it waits for a place.
    bool push(const RgbFrame& frame, Job job);
    // Waits until every queued frame is written; false if any job failed or
    // a stop was requested first.
    bool drain();
    // Drops the frames still waiting and waits for the one being written.
    void cancel();
    bool failed();

private:
    void work();
    // Waits under `guard` until `ready`; false when a stop is requested first.
    template <class Ready> bool waitUnlessStopped(std::unique_lock<std::mutex>& guard, Ready ready);

    struct Entry {
        RgbFrame frame;
        Job job;
    };
    const std::size_t depth;
    const StopRequested stopRequested;
    std::mutex lock;
    std::condition_variable changed;
    std::deque<Entry> waiting;
    std::deque<RgbFrame> spare; // written frames whose storage the next push reuses
    bool writing = false;
    bool broken = false;
    bool stopping = false;
    std::thread worker; // last: starts once the rest is set up
};
