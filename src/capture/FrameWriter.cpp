#include "capture/FrameWriter.h"

#include <chrono>
#include <utility>

FrameWriter::FrameWriter(std::size_t queueDepth, StopRequested stop)
    : depth(queueDepth == 0 ? 1 : queueDepth)
    , stopRequested(std::move(stop))
    , worker([this] { work(); })
{
}

template <class Ready> bool FrameWriter::waitUnlessStopped(std::unique_lock<std::mutex>& guard, Ready ready)
{
    if (!stopRequested) {
        changed.wait(guard, ready);
        return true;
    }
    // A signal cannot notify a condition variable: look now and then.
    while (!changed.wait_for(guard, std::chrono::milliseconds(20), ready))
        if (stopRequested())
            return false;
    return true;
}

FrameWriter::~FrameWriter()
{
    cancel();
    {
        std::lock_guard<std::mutex> guard(lock);
        stopping = true;
    }
    changed.notify_all();
    worker.join();
}

bool FrameWriter::push(const RgbFrame& frame, Job job)
{
    std::unique_lock<std::mutex> guard(lock);
    if (!waitUnlessStopped(guard, [this] { return broken || waiting.size() < depth; }) || broken)
        return false;
    RgbFrame copy;
    if (!spare.empty()) {
        copy = std::move(spare.front());
        spare.pop_front();
    }
    copy.width = frame.width;
    copy.height = frame.height;
    copy.rgb.assign(frame.rgb.begin(), frame.rgb.end());
    waiting.push_back({ std::move(copy), std::move(job) });
    changed.notify_all();
    return true;
}

bool FrameWriter::drain()
{
    std::unique_lock<std::mutex> guard(lock);
    return waitUnlessStopped(guard, [this] { return broken || (waiting.empty() && !writing); }) && !broken;
}

void FrameWriter::cancel()
{
    std::unique_lock<std::mutex> guard(lock);
    waiting.clear();
    changed.wait(guard, [this] { return !writing; });
}

bool FrameWriter::failed()
{
    std::lock_guard<std::mutex> guard(lock);
    return broken;
}

void FrameWriter::work()
{
    std::unique_lock<std::mutex> guard(lock);
    for (;;) {
        changed.wait(guard, [this] { return stopping || !waiting.empty(); });
        if (waiting.empty())
            return; // stopping, nothing left
        Entry entry = std::move(waiting.front());
        waiting.pop_front();
        writing = true;
        changed.notify_all(); // a place is free
        guard.unlock();
        const bool written = entry.job(entry.frame);
        guard.lock();
        writing = false;
        if (!written) {
            broken = true;
            waiting.clear();
        }
        if (spare.size() < depth)
            spare.push_back(std::move(entry.frame));
        changed.notify_all();
    }
}
