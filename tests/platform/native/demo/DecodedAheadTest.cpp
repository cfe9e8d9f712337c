#include "platform/native/demo/DecodedAhead.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

constexpr std::uint32_t framesPerSecond = 1000; // a frame a millisecond
constexpr auto ahead = 100ms; // 100 frames: the tests go round the ring many times
constexpr std::uint64_t topUp = 25; // what the decoder leaves free at most when full: a quarter

// Where a slow disk holds the source's calls: every call passes while the
// gate is open; while it is held, each waits until let through.
class Gate {
public:
    void hold()
    {
        const std::lock_guard<std::mutex> locked(lock);
        holding = true;
    }
    void open()
    {
        const std::lock_guard<std::mutex> locked(lock);
        holding = false;
        changed.notify_all();
    }
    // Lets the next `calls` held calls through, and holds the rest.
    void let(int calls)
    {
        const std::lock_guard<std::mutex> locked(lock);
        passes += calls;
        changed.notify_all();
    }
    void pass()
    {
        std::unique_lock<std::mutex> locked(lock);
        ++arrivals;
        changed.notify_all();
        changed.wait(locked, [this] { return !holding || passes > 0; });
        if (holding)
            --passes;
    }
    // How many calls have come to the gate, held or not.
    int arrived()
    {
        const std::lock_guard<std::mutex> locked(lock);
        return arrivals;
    }
    // Whether `count` calls had come within 5 s.
    bool waitForArrivals(int count)
    {
        std::unique_lock<std::mutex> locked(lock);
        return changed.wait_for(locked, 5s, [&] { return arrivals >= count; });
    }

private:
    std::mutex lock;
    std::condition_variable changed;
    bool holding = false;
    int passes = 0;
    int arrivals = 0;
};

// Frame f of this music is (1 + f % 30000, 1 + f / 30000): never silence,
// and it says which it is. Its reads and seeks go through the gate.
class NamedFrames : public SoundSource {
public:
    NamedFrames(std::uint64_t frames, std::shared_ptr<Gate> through)
        : length(frames)
        , gate(std::move(through))
    {
    }
    std::uint32_t rate() const override { return framesPerSecond; }
    std::size_t read(std::int16_t* into, std::size_t frames) override
    {
        gate->pass();
        std::size_t got = 0;
        for (; got < frames && position < length; ++got, ++position) {
            into[2 * got] = static_cast<std::int16_t>(1 + position % 30000);
            into[2 * got + 1] = static_cast<std::int16_t>(1 + position / 30000);
        }
        return got;
    }
    std::uint64_t tell() const override { return position; }
    void seek(std::uint64_t frame) override
    {
        gate->pass();
        position = std::min(frame, length);
    }

private:
    const std::uint64_t length;
    const std::shared_ptr<Gate> gate;
    std::uint64_t position = 0;
};

struct Read {
    std::size_t frames = 0;
    std::vector<std::int16_t> samples;
};

Read readFrom(DecodedAhead& decoded, std::size_t frames)
{
    Read read { 0, std::vector<std::int16_t>(2 * frames, -1) };
    read.frames = decoded.read(read.samples.data(), frames);
    read.samples.resize(2 * read.frames);
    return read;
}

// "" when `samples` are the frames from `first` on, in order; else the first that is not.
std::string unlessFramesFrom(std::uint64_t first, const std::vector<std::int16_t>& samples)
{
    for (std::size_t k = 0; 2 * k < samples.size(); ++k) {
        const std::uint64_t frame = first + k;
        if (samples[2 * k] != static_cast<std::int16_t>(1 + frame % 30000)
            || samples[2 * k + 1] != static_cast<std::int16_t>(1 + frame / 30000))
            return "frame " + std::to_string(frame) + " is (" + std::to_string(samples[2 * k]) + ", "
                + std::to_string(samples[2 * k + 1]) + ")";
    }
    return "";
}

bool silent(const std::vector<std::int16_t>& samples)
{
    return std::all_of(samples.begin(), samples.end(), [](std::int16_t sample) { return sample == 0; });
}

bool within(std::chrono::milliseconds bound, const std::function<bool()>& done)
{
    const auto until = std::chrono::steady_clock::now() + bound;
    while (!done()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

// Whether `call` returned within `bound`; one that did not is let through
// the gate for good, so that the test ends.
bool returnsWithin(std::chrono::milliseconds bound, Gate& gate, const std::function<void()>& call)
{
    auto returned = std::async(std::launch::async, call);
    if (returned.wait_for(bound) == std::future_status::ready)
        return true;
    gate.open();
    returned.wait();
    return false;
}

class DecodedAheadTest : public ::testing::Test {
protected:
    std::shared_ptr<Gate> gate = std::make_shared<Gate>();
    std::shared_ptr<NamedFrames> music = std::make_shared<NamedFrames>(10000, gate);
};

} // namespace

// Read in pieces that fall across the ring's end, each once decoded: the
// music whole and in order, then its end.
TEST_F(DecodedAheadTest, FramesComeOutInOrderAndWholeAcrossTheRingsEnd)
{
    DecodedAhead decoded(std::make_shared<NamedFrames>(2000, gate), ahead);
    for (std::uint64_t at = 0; at < 2000;) {
        const std::size_t piece = static_cast<std::size_t>(std::min<std::uint64_t>(37, 2000 - at));
        ASSERT_TRUE(within(5s, [&] { return decoded.buffered() >= piece; })) << "the decoder stopped at " << at;
        const Read read = readFrom(decoded, piece);
        ASSERT_EQ(read.frames, piece);
        ASSERT_EQ(unlessFramesFrom(at, read.samples), "");
        at += piece;
        ASSERT_EQ(decoded.tell(), at);
    }
    EXPECT_TRUE(within(5s, [&] { return decoded.ended(); }));
    EXPECT_EQ(readFrom(decoded, 10).frames, 0u) << "nothing past the end";
}

// The decoder held in a read, as by a slow disk: a read returns at once with
// what is decoded, then silence for the rest, and the music's place moves
// on by all it was asked; the frames decoded later for that stretch are
// dropped, so what comes after is where the music is by then.
TEST_F(DecodedAheadTest, AReadWhileTheDecoderIsHeldHandsSilenceAtOnceAndTheMusicKeepsItsPlace)
{
    DecodedAhead decoded(music, ahead);
    decoded.seek(0);
    const std::size_t ready = static_cast<std::size_t>(decoded.buffered());
    gate->hold();
    const int before = gate->arrived();
    Read read = readFrom(decoded, ready);
    EXPECT_EQ(unlessFramesFrom(0, read.samples), "") << "what was decoded";
    ASSERT_TRUE(gate->waitForArrivals(before + 1)) << "the decoder read on";

    ASSERT_TRUE(returnsWithin(1s, *gate, [&] { read = readFrom(decoded, 50); })) << "the read waited for the decoder";
    EXPECT_EQ(read.frames, 50u) << "fewer only at the end";
    EXPECT_TRUE(silent(read.samples));
    EXPECT_EQ(decoded.tell(), ready + 50);
    EXPECT_FALSE(decoded.ended());

    gate->open();
    ASSERT_TRUE(within(5s, [&] { return decoded.buffered() >= 30; }));
    read = readFrom(decoded, 30);
    EXPECT_EQ(unlessFramesFrom(ready + 50, read.samples), "") << "the stretch played as silence was not dropped";
}

// A seek, forward or back, returns with the buffer full again at the new
// place, which tell() gives; one past the end stands at the end.
TEST_F(DecodedAheadTest, SeekRefillsTheBufferAndTellFollows)
{
    DecodedAhead decoded(music, ahead);
    for (const std::uint64_t place : { 5000u, 200u, 9950u }) {
        SCOPED_TRACE(place);
        decoded.seek(place);
        EXPECT_EQ(decoded.tell(), place);
        const std::uint64_t full = std::min<std::uint64_t>(100 - topUp + 1, 10000 - place);
        ASSERT_GE(decoded.buffered(), full) << "a seek returns once the buffer is full again";
        const Read read = readFrom(decoded, static_cast<std::size_t>(full));
        EXPECT_EQ(unlessFramesFrom(place, read.samples), "");
        EXPECT_EQ(decoded.tell(), place + full);
    }
    decoded.seek(12000);
    EXPECT_EQ(decoded.tell(), 10000u) << "past the end: at the end";
    EXPECT_EQ(readFrom(decoded, 10).frames, 0u);
    EXPECT_TRUE(decoded.ended());
}

// The decoder reaches the end well before the output has played it: the
// music ends with the read that takes its last frame, one that returns fewer
// frames than asked.
TEST_F(DecodedAheadTest, TheMusicEndsWhenItsLastFrameIsReadNotWhenItIsDecoded)
{
    DecodedAhead decoded(music, ahead);
    decoded.seek(9940);
    ASSERT_EQ(decoded.buffered(), 60u) << "the end, decoded";
    EXPECT_FALSE(decoded.ended());
    EXPECT_EQ(readFrom(decoded, 59).frames, 59u);
    EXPECT_FALSE(decoded.ended()) << "one frame still to play";
    const Read last = readFrom(decoded, 20);
    EXPECT_EQ(last.frames, 1u);
    EXPECT_EQ(unlessFramesFrom(9999, last.samples), "");
    EXPECT_TRUE(decoded.ended());
}

// A seek while the disk holds the decoder in a read gives up waiting after
// a while; the read then ends, and what it brought, from the place before
// the seek, never reaches the reader at the new place: silence, until the
// decoder has moved.
TEST_F(DecodedAheadTest, ASeekDuringASlowReadNeverHandsFramesOfThePlaceBeforeIt)
{
    DecodedAhead decoded(music, ahead);
    decoded.seek(5000);
    gate->hold();
    const int before = gate->arrived();
    readFrom(decoded, static_cast<std::size_t>(decoded.buffered()));
    ASSERT_TRUE(gate->waitForArrivals(before + 1)) << "the decoder read on";

    ASSERT_TRUE(returnsWithin(4s, *gate, [&] { decoded.seek(0); })) << "the seek waited for the disk";
    EXPECT_EQ(decoded.tell(), 0u);
    gate->let(1); // the read, not the seek after it
    ASSERT_TRUE(gate->waitForArrivals(before + 2));
    Read read = readFrom(decoded, 20);
    EXPECT_TRUE(silent(read.samples)) << unlessFramesFrom(0, read.samples);

    gate->open();
    ASSERT_TRUE(within(5s, [&] { return decoded.buffered() >= 20; }));
    read = readFrom(decoded, 20);
    EXPECT_EQ(unlessFramesFrom(20, read.samples), "");
}

// Let go while its decoder is stuck in a read that may never end (a disk
// gone away): it does not wait for it, and the source is freed once the
// read ends.
TEST_F(DecodedAheadTest, LetGoWhileTheDecoderIsStuckInAReadItReturnsAndTheSourceGoesWithTheRead)
{
    auto decoded = std::make_unique<DecodedAhead>(music, ahead);
    decoded->seek(0);
    gate->hold();
    const int before = gate->arrived();
    readFrom(*decoded, 60);
    ASSERT_TRUE(gate->waitForArrivals(before + 1));
    const std::weak_ptr<NamedFrames> source = music;
    music.reset();

    EXPECT_TRUE(returnsWithin(3s, *gate, [&] { decoded.reset(); }));
    EXPECT_FALSE(source.expired()) << "the read still goes on";
    gate->open();
    EXPECT_TRUE(within(5s, [&] { return source.expired(); }));
}
