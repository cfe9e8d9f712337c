#include "platform/native/demo/DecodedAhead.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <limits>
#include <mutex>
#include <vector>

namespace {

constexpr std::uint64_t noEnd = std::numeric_limits<std::uint64_t>::max();
constexpr std::size_t bytesPerFrame = 4; // 16-bit stereo
constexpr std::size_t blockFrames = 4096; // the most one read of the source decodes
constexpr auto refillAtMost = std::chrono::seconds(2);
constexpr auto stopAtMost = std::chrono::seconds(1);
// How often a full buffer looks for room: the reader never wakes the decoder,
// since a wake-up that cannot be missed needs the decoder's lock.
constexpr auto lookEvery = std::chrono::milliseconds(20);

} // namespace

// Every count is an absolute frame of the music, and the ring holds frame f
// at f % capacity. The reader copies only the frames from `taken` to
// `written`, and alone moves `taken`; the decoder writes only the frames from
// `written` to `taken` + capacity, and alone moves `written`; a seek sets both
// while no one reads. So the two never touch the same place of the ring. The
// lock orders the decoder (seek, quit); the reader never takes it.
struct DecodedAhead::Decoding {
    Decoding(std::shared_ptr<SoundSource> from, std::size_t frames);
    void run();
    // Full again since the last seek, or the music's end decoded; under the lock.
    bool refilled() const;

    const std::shared_ptr<SoundSource> source;
    const std::size_t capacity;
    // The least the decoder reads at a time but at the ring's end, so that
    // it does not read a few frames each time the reader takes a few.
    const std::size_t topUp;
    std::vector<std::int16_t> ring;

    std::atomic<std::uint64_t> taken; // the frame the next read starts at
    std::atomic<std::uint64_t> written; // frames before it, from `taken` on, are in the ring
    std::atomic<std::uint64_t> end { noEnd }; // the music's end, once decoded

    std::mutex lock;
    std::condition_variable orders; // wakes the decoder
    std::condition_variable progress; // wakes a seek or the destructor
    std::uint64_t seekTo = 0;
    std::uint64_t seeksAsked = 0;
    std::uint64_t seeksDone = 0;
    bool quitting = false;
    bool finished = false;
};

DecodedAhead::Decoding::Decoding(std::shared_ptr<SoundSource> from, std::size_t frames)
    : source(std::move(from))
    , capacity(frames)
    , topUp(std::clamp<std::size_t>(frames / 4, 1, blockFrames))
    , ring(2 * frames)
    , taken(source->tell())
    , written(source->tell())
{
}

bool DecodedAhead::Decoding::refilled() const
{
    const std::uint64_t reader = taken.load(std::memory_order_acquire);
    const std::uint64_t at = written.load(std::memory_order_acquire);
    return end.load(std::memory_order_acquire) != noEnd || (at >= reader && reader + capacity - at < topUp);
}

void DecodedAhead::Decoding::run()
{
    std::unique_lock<std::mutex> locked(lock);
    while (!quitting) {
        if (seeksDone != seeksAsked) {
            const std::uint64_t asked = seeksAsked;
            const std::uint64_t target = seekTo;
            locked.unlock();
            source->seek(target);
            const std::uint64_t at = source->tell();
            locked.lock();
            if (asked == seeksAsked) {
                seeksDone = asked;
                // A source that stands before the target (past its end) is
                // read on, and what it gives dropped, up to where the reader is.
                written.store(at, std::memory_order_release);
            }
            continue;
        }
        if (end.load(std::memory_order_relaxed) != noEnd) {
            orders.wait(locked);
            continue;
        }
        // Behind the reader, the room is more than the ring: the frames it
        // passed with silence are decoded into their places and never read.
        const std::uint64_t at = written.load(std::memory_order_relaxed);
        const std::uint64_t room = taken.load(std::memory_order_acquire) + capacity - at;
        if (room < topUp) {
            orders.wait_for(locked, lookEvery);
            continue;
        }
        const std::size_t slot = at % capacity;
        const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>({ blockFrames, room, capacity - slot }));
        const std::uint64_t asked = seeksAsked;
        locked.unlock();
        const std::size_t got = source->read(&ring[2 * slot], wanted);
        locked.lock();
        // Frames of the place before a seek that came meanwhile must never
        // reach a reader of the new place.
        if (asked != seeksAsked)
            continue;
        if (got < wanted)
            end.store(at + got, std::memory_order_release);
        written.store(at + got, std::memory_order_release);
        progress.notify_all();
    }
    finished = true;
    progress.notify_all();
}

DecodedAhead::DecodedAhead(const std::shared_ptr<SoundSource>& source, std::chrono::milliseconds ahead)
    : decoding(std::make_shared<Decoding>(source,
        static_cast<std::size_t>(std::max<std::int64_t>(1, std::int64_t { source->rate() } * ahead.count() / 1000))))
    , framesPerSecond(source->rate())
    , decoder([running = decoding] { running->run(); })
{
}

DecodedAhead::~DecodedAhead()
{
    bool stopped = false;
    {
        std::unique_lock<std::mutex> locked(decoding->lock);
        decoding->quitting = true;
        decoding->orders.notify_all();
        stopped = decoding->progress.wait_for(locked, stopAtMost, [this] { return decoding->finished; });
    }
    if (stopped)
        decoder.join();
    else
        decoder.detach(); // it holds what it reads, and lets go of it once the read ends
}

std::size_t DecodedAhead::read(std::int16_t* into, std::size_t frames)
{
    Decoding& shared = *decoding;
    const std::uint64_t from = shared.taken.load(std::memory_order_acquire);
    const std::uint64_t decoded = shared.written.load(std::memory_order_acquire);
    const std::uint64_t end = shared.end.load(std::memory_order_acquire);
    const std::size_t handed = end == noEnd
        ? frames
        : static_cast<std::size_t>(std::min<std::uint64_t>(frames, end > from ? end - from : 0));
    const std::size_t ready
        = decoded > from ? static_cast<std::size_t>(std::min<std::uint64_t>(handed, decoded - from)) : 0;
    const std::size_t slot = from % shared.capacity;
    const std::size_t beforeWrap = std::min(ready, shared.capacity - slot);
    std::memcpy(into, &shared.ring[2 * slot], beforeWrap * bytesPerFrame);
    std::memcpy(into + 2 * beforeWrap, shared.ring.data(), (ready - beforeWrap) * bytesPerFrame);
    std::memset(into + 2 * ready, 0, (handed - ready) * bytesPerFrame);
    shared.taken.store(from + handed, std::memory_order_release);
    return handed;
}

std::uint64_t DecodedAhead::tell() const
{
    return decoding->taken.load(std::memory_order_acquire);
}

void DecodedAhead::seek(std::uint64_t frame)
{
    Decoding& shared = *decoding;
    std::unique_lock<std::mutex> locked(shared.lock);
    ++shared.seeksAsked;
    shared.seekTo = frame;
    shared.end.store(noEnd, std::memory_order_relaxed);
    shared.taken.store(frame, std::memory_order_release);
    shared.written.store(frame, std::memory_order_release);
    shared.orders.notify_all();
    shared.progress.wait_for(
        locked, refillAtMost, [&shared] { return shared.seeksDone == shared.seeksAsked && shared.refilled(); });
    const std::uint64_t end = shared.end.load(std::memory_order_relaxed);
    if (end < frame)
        shared.taken.store(end, std::memory_order_release);
}

bool DecodedAhead::ended() const
{
    const std::uint64_t end = decoding->end.load(std::memory_order_acquire);
    return end != noEnd && decoding->taken.load(std::memory_order_acquire) >= end;
}

std::uint64_t DecodedAhead::buffered() const
{
    const std::uint64_t from = decoding->taken.load(std::memory_order_acquire);
    const std::uint64_t decoded = decoding->written.load(std::memory_order_acquire);
    return decoded > from ? decoded - from : 0;
}
