#include "platform/desktop/demo/PulseOutput.h"

#include <pulse/pulseaudio.h>

#include <condition_variable>
#include <cstring>
#include <mutex>

namespace {

// What the server keeps queued of ours: enough that a busy machine (a
// parallel build beside the demo) never lets it run dry.
constexpr pa_usec_t queued = 300 * PA_USEC_PER_MSEC;
// How often the server is asked for the stream's timing.
constexpr pa_usec_t askEvery = 40 * PA_USEC_PER_MSEC;
constexpr std::uint32_t bytesPerFrame = 4; // 16-bit stereo

std::int64_t framesIn(pa_usec_t micros, std::uint32_t rate)
{
    return static_cast<std::int64_t>(micros * rate / PA_USEC_PER_SEC);
}

} // namespace

PulseOutput::PulseOutput()
{
    loop = pa_threaded_mainloop_new();
    if (loop == nullptr) {
        errorCode = PA_ERR_INTERNAL;
        return;
    }
    pa_proplist* properties = pa_proplist_new();
    pa_proplist_sets(properties, PA_PROP_APPLICATION_NAME, "Lumaroll");
    pa_proplist_sets(properties, PA_PROP_APPLICATION_ID, "lumaroll");
    pa_proplist_sets(properties, PA_PROP_APPLICATION_ICON_NAME, "lumaroll");
    context = pa_context_new_with_proplist(pa_threaded_mainloop_get_api(loop), "Lumaroll", properties);
    pa_proplist_free(properties);
    if (context == nullptr) {
        errorCode = PA_ERR_INTERNAL;
        return;
    }
    pa_context_set_state_callback(context, contextChanged, this);
    // A demo never starts a sound server of its own.
    if (pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        errorCode = pa_context_errno(context);
        return;
    }
    if (pa_threaded_mainloop_start(loop) < 0)
        errorCode = PA_ERR_INTERNAL;
}

PulseOutput::~PulseOutput()
{
    if (loop == nullptr)
        return;
    pa_threaded_mainloop_lock(loop);
    if (timer != nullptr)
        pa_threaded_mainloop_get_api(loop)->time_free(timer);
    dropStream();
    pa_threaded_mainloop_unlock(loop);
    // Disconnecting only closes our end: a server that has stopped answering
    // cannot hold this up.
    pa_threaded_mainloop_stop(loop);
    if (context != nullptr) {
        pa_context_disconnect(context);
        pa_context_unref(context);
    }
    pa_threaded_mainloop_free(loop);
}

void PulseOutput::contextChanged(pa_context* context, void* data)
{
    auto* self = static_cast<PulseOutput*>(data);
    const pa_context_state_t state = pa_context_get_state(context);
    if (state == PA_CONTEXT_READY)
        self->everReady = true;
    if (!PA_CONTEXT_IS_GOOD(state)) {
        self->errorCode = pa_context_errno(context);
        self->contextLost = true;
    }
}

PulseOutput::State PulseOutput::state() const
{
    if (errorCode != 0 && !everReady)
        return State::Failed;
    if (contextLost)
        return State::Failed;
    return everReady ? State::Ready : State::Connecting;
}

std::string PulseOutput::serverName(std::chrono::milliseconds patience)
{
    if (state() != State::Ready)
        return "";
    struct Asked {
        std::mutex lock;
        std::condition_variable answered;
        bool done = false;
        std::string name;
    };
    // The answer may come after we stopped waiting for it: what it writes
    // into lives as long as either side.
    auto asked = std::make_shared<Asked>();
    auto holder = std::make_unique<std::shared_ptr<Asked>>(asked);
    const auto answer = [](pa_context*, const pa_server_info* info, void* data) {
        // The request's share, handed over with it, goes once answered.
        const std::unique_ptr<std::shared_ptr<Asked>> kept(static_cast<std::shared_ptr<Asked>*>(data));
        {
            const std::lock_guard<std::mutex> locked((*kept)->lock);
            (*kept)->name = info != nullptr && info->server_name != nullptr ? info->server_name : "";
            (*kept)->done = true;
        }
        (*kept)->answered.notify_all();
    };
    pa_threaded_mainloop_lock(loop);
    pa_operation* asking = pa_context_get_server_info(context, answer, holder.get());
    // A request made owns the share; one refused leaves it here, freed as this returns.
    if (asking != nullptr)
        static_cast<void>(holder.release());
    pa_threaded_mainloop_unlock(loop);
    if (asking == nullptr)
        return "";
    pa_operation_unref(asking);
    std::unique_lock<std::mutex> locked(asked->lock);
    asked->answered.wait_for(locked, patience, [&asked] { return asked->done; });
    return asked->name;
}

std::string PulseOutput::failure() const
{
    return pa_strerror(errorCode);
}

std::string PulseOutput::lost() const
{
    if (everReady && contextLost)
        return "the sound server went away";
    if (streamFailed)
        return "the sound server ended the music's stream";
    return "";
}

bool PulseOutput::play(std::shared_ptr<SoundSource> from, std::string& error)
{
    if (loop == nullptr || state() != State::Ready) {
        error = "the sound server is not there";
        return false;
    }
    pa_threaded_mainloop_lock(loop);
    dropStream();
    source = std::move(from);
    rate = source->rate();
    const pa_sample_spec format { PA_SAMPLE_S16NE, rate, 2 };
    pa_proplist* properties = pa_proplist_new();
    pa_proplist_sets(properties, PA_PROP_MEDIA_NAME, "Lumaroll");
    pa_proplist_sets(properties, PA_PROP_MEDIA_ROLE, "music");
    stream = pa_stream_new_with_proplist(context, "Lumaroll", &format, nullptr, properties);
    pa_proplist_free(properties);
    bool playing = stream != nullptr;
    if (playing) {
        pa_stream_set_state_callback(stream, streamChanged, this);
        pa_stream_set_write_callback(stream, writable, this);
        pa_stream_set_latency_update_callback(stream, timingUpdated, this);
        pa_buffer_attr buffer;
        std::memset(&buffer, 0xff, sizeof buffer); // the server's choice, but for the queue's length
        buffer.tlength = static_cast<std::uint32_t>(pa_usec_to_bytes(queued, &format));
        // A null device: PULSE_SINK, or the server's default.
        const auto flags = static_cast<pa_stream_flags_t>(PA_STREAM_ADJUST_LATENCY | PA_STREAM_AUTO_TIMING_UPDATE);
        playing = pa_stream_connect_playback(stream, nullptr, &buffer, flags, nullptr, nullptr) == 0;
    }
    if (!playing) {
        error = pa_strerror(pa_context_errno(context));
        dropStream();
    } else {
        restartHeard(rate);
        streamFailed = false;
        if (timer == nullptr)
            timer = pa_context_rttime_new(context, pa_rtclock_now() + askEvery, askTiming, this);
    }
    pa_threaded_mainloop_unlock(loop);
    return playing;
}

void PulseOutput::pause(bool paused)
{
    if (loop == nullptr)
        return;
    pa_threaded_mainloop_lock(loop);
    if (stream != nullptr) {
        if (pa_operation* corking = pa_stream_cork(stream, paused ? 1 : 0, nullptr, nullptr))
            pa_operation_unref(corking);
        if (paused)
            holdHeard(monotonicMicros());
        else
            goHeard();
    }
    pa_threaded_mainloop_unlock(loop);
}

void PulseOutput::stop()
{
    if (loop == nullptr)
        return;
    pa_threaded_mainloop_lock(loop);
    holdHeard(monotonicMicros());
    dropStream();
    source.reset();
    pa_threaded_mainloop_unlock(loop);
}

void PulseOutput::dropStream()
{
    if (stream == nullptr)
        return;
    pa_stream_set_state_callback(stream, nullptr, nullptr);
    pa_stream_set_write_callback(stream, nullptr, nullptr);
    pa_stream_set_latency_update_callback(stream, nullptr, nullptr);
    pa_stream_disconnect(stream);
    pa_stream_unref(stream);
    stream = nullptr;
}

void PulseOutput::streamChanged(pa_stream* stream, void* data)
{
    if (pa_stream_get_state(stream) == PA_STREAM_FAILED)
        static_cast<PulseOutput*>(data)->streamFailed = true;
}

void PulseOutput::writable(pa_stream*, std::size_t bytes, void* data)
{
    static_cast<PulseOutput*>(data)->fill(bytes);
}

void PulseOutput::fill(std::size_t bytes)
{
    void* buffer = nullptr;
    std::size_t size = bytes;
    if (pa_stream_begin_write(stream, &buffer, &size) < 0 || buffer == nullptr)
        return;
    const std::size_t frames = size / bytesPerFrame;
    auto* samples = static_cast<std::int16_t*>(buffer);
    const std::size_t got = source ? source->read(samples, frames) : 0;
    // Past the music's end the stream plays silence, so that its time runs on.
    std::memset(samples + 2 * got, 0, (frames - got) * bytesPerFrame);
    if (pa_stream_write(stream, buffer, frames * bytesPerFrame, nullptr, 0, PA_SEEK_RELATIVE) == 0)
        handed(frames);
}

// The frame heard is the last the server has taken of ours, less what the
// sink still holds before it is played, plus the time the answer took to
// come (the server's count moved on meanwhile).
void PulseOutput::timingUpdated(pa_stream* stream, void* data)
{
    auto* self = static_cast<PulseOutput*>(data);
    const pa_timing_info* timing = pa_stream_get_timing_info(stream);
    // Until the server has taken something, it has nothing to say of when
    // that will be heard.
    if (timing == nullptr || timing->read_index_corrupt != 0 || timing->read_index <= 0)
        return;
    const std::int64_t taken = timing->read_index / static_cast<std::int64_t>(bytesPerFrame);
    self->answered(taken + framesIn(timing->transport_usec, self->rate) - framesIn(timing->sink_usec, self->rate),
        monotonicMicros());
}

void PulseOutput::askTiming(pa_mainloop_api*, pa_time_event* event, const timeval*, void* data)
{
    auto* self = static_cast<PulseOutput*>(data);
    if (self->stream != nullptr && pa_stream_get_state(self->stream) == PA_STREAM_READY)
        if (pa_operation* asking = pa_stream_update_timing_info(self->stream, nullptr, nullptr))
            pa_operation_unref(asking);
    pa_context_rttime_restart(self->context, event, pa_rtclock_now() + askEvery);
}
