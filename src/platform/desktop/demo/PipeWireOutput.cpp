#include "platform/desktop/demo/PipeWireOutput.h"

#include <pipewire/pipewire.h>
#include <spa/param/audio/format-utils.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

constexpr std::uint32_t bytesPerFrame = 4; // 16-bit stereo
// The graph's cycle the stream asks for at most: the graph may run shorter
// cycles for others, and the stream follows.
constexpr const char* latency = "1024/48000";

// pw_init() once for the process: it loads the support libraries and is
// counted, so outputs made again after a server went away add nothing.
void initialisePipeWire()
{
    static const bool done = [] {
        pw_init(nullptr, nullptr);
        return true;
    }();
    (void)done;
}

} // namespace

struct PipeWireOutput::Hooks {
    spa_hook core {};
    spa_hook stream {};
    pw_core_events coreEvents {};
    pw_stream_events streamEvents {};
};

PipeWireOutput::PipeWireOutput()
    : hooks(std::make_unique<Hooks>())
{
    initialisePipeWire();
    loop = pw_thread_loop_new("lumaroll-sound", nullptr);
    if (loop == nullptr) {
        errorCode = errno != 0 ? errno : ENOMEM;
        return;
    }
    // The real-time client configuration, as PipeWire's own players use: its
    // data thread, which fills the graph's buffer every cycle, gets real-time
    // priority where the system grants it, so that a busy machine does not
    // make it miss a cycle (a gap in the music).
    context = pw_context_new(
        pw_thread_loop_get_loop(loop), pw_properties_new(PW_KEY_CONFIG_NAME, "client-rt.conf", nullptr), 0);
    if (context == nullptr) {
        errorCode = errno != 0 ? errno : ENOMEM;
        return;
    }
    pw_thread_loop_lock(loop);
    if (pw_thread_loop_start(loop) < 0) {
        errorCode = EAGAIN;
        pw_thread_loop_unlock(loop);
        return;
    }
    // Connecting only opens the socket: whether the server lives is known
    // when it answers a round trip.
    core = pw_context_connect(context,
        pw_properties_new(
            PW_KEY_APP_NAME, "Lumaroll", PW_KEY_APP_ID, "lumaroll", PW_KEY_APP_ICON_NAME, "lumaroll", nullptr),
        0);
    if (core == nullptr) {
        errorCode = errno != 0 ? errno : ECONNREFUSED;
    } else {
        hooks->coreEvents.version = PW_VERSION_CORE_EVENTS;
        hooks->coreEvents.done = coreDone;
        hooks->coreEvents.error = coreError;
        pw_core_add_listener(core, &hooks->core, &hooks->coreEvents, this);
        helloSequence = pw_core_sync(core, PW_ID_CORE, 0);
    }
    pw_thread_loop_unlock(loop);
}

PipeWireOutput::~PipeWireOutput()
{
    if (loop == nullptr)
        return;
    pw_thread_loop_lock(loop);
    dropStream();
    pw_thread_loop_unlock(loop);
    pw_thread_loop_stop(loop);
    // Disconnecting only closes our end of the socket.
    if (core != nullptr) {
        spa_hook_remove(&hooks->core);
        pw_core_disconnect(core);
    }
    if (context != nullptr)
        pw_context_destroy(context);
    pw_thread_loop_destroy(loop);
}

void PipeWireOutput::coreDone(void* data, std::uint32_t id, int sequence)
{
    auto* self = static_cast<PipeWireOutput*>(data);
    if (id == PW_ID_CORE && sequence == self->helloSequence)
        self->everReady = true;
}

void PipeWireOutput::coreError(void* data, std::uint32_t id, int, int result, const char*)
{
    auto* self = static_cast<PipeWireOutput*>(data);
    // The socket closed, or the server refused us as a whole.
    if (id == PW_ID_CORE) {
        self->errorCode = result < 0 ? -result : result;
        self->serverLost = true;
    }
}

ServerOutput::State PipeWireOutput::state() const
{
    if (serverLost || (errorCode != 0 && !everReady))
        return State::Failed;
    return everReady ? State::Ready : State::Connecting;
}

std::string PipeWireOutput::failure() const
{
    return std::strerror(errorCode);
}

std::string PipeWireOutput::lost() const
{
    if (everReady && serverLost)
        return "the sound server went away";
    if (streamFailed)
        return "the sound server ended the music's stream";
    return "";
}

bool PipeWireOutput::play(std::shared_ptr<SoundSource> from, std::string& error)
{
    if (loop == nullptr || state() != State::Ready) {
        error = "the sound server is not there";
        return false;
    }
    pw_thread_loop_lock(loop);
    dropStream();
    source = std::move(from);
    rate = source->rate();
    stream = pw_stream_new(core, "Lumaroll",
        pw_properties_new(PW_KEY_MEDIA_TYPE, "Audio", PW_KEY_MEDIA_CATEGORY, "Playback", PW_KEY_MEDIA_ROLE, "Music",
            PW_KEY_MEDIA_NAME, "Lumaroll", PW_KEY_NODE_LATENCY, latency, nullptr));
    bool playing = stream != nullptr;
    if (playing) {
        hooks->streamEvents = {};
        hooks->streamEvents.version = PW_VERSION_STREAM_EVENTS;
        hooks->streamEvents.state_changed = [](void* data, pw_stream_state old, pw_stream_state now, const char* why) {
            streamChanged(data, static_cast<int>(old), static_cast<int>(now), why);
        };
        hooks->streamEvents.process = process;
        pw_stream_add_listener(stream, &hooks->stream, &hooks->streamEvents, this);
        std::uint8_t buffer[1024];
        spa_pod_builder builder = SPA_POD_BUILDER_INIT(buffer, sizeof buffer);
        spa_audio_info_raw format {};
        format.format = SPA_AUDIO_FORMAT_S16;
        format.rate = rate;
        format.channels = 2;
        format.position[0] = SPA_AUDIO_CHANNEL_FL;
        format.position[1] = SPA_AUDIO_CHANNEL_FR;
        const spa_pod* parameters[] = { spa_format_audio_raw_build(&builder, SPA_PARAM_EnumFormat, &format) };
        // PW_ID_ANY: the session manager links it to the user's sink.
        const auto flags = static_cast<pw_stream_flags>(
            PW_STREAM_FLAG_AUTOCONNECT | PW_STREAM_FLAG_MAP_BUFFERS | PW_STREAM_FLAG_RT_PROCESS);
        restartHeard(rate);
        handedSoFar = 0;
        lastBufferFrames = 0;
        const int connected = pw_stream_connect(stream, PW_DIRECTION_OUTPUT, PW_ID_ANY, flags, parameters, 1);
        if (connected < 0) {
            error = std::strerror(-connected);
            playing = false;
        }
    } else {
        error = std::strerror(errno);
    }
    if (!playing) {
        dropStream();
    } else {
        streamFailed = false;
    }
    pw_thread_loop_unlock(loop);
    return playing;
}

void PipeWireOutput::pause(bool paused)
{
    if (loop == nullptr)
        return;
    pw_thread_loop_lock(loop);
    if (stream != nullptr) {
        if (paused)
            holdHeard(monotonicMicros());
        pw_stream_set_active(stream, !paused);
        if (!paused)
            goHeard();
    }
    pw_thread_loop_unlock(loop);
}

void PipeWireOutput::stop()
{
    if (loop == nullptr)
        return;
    pw_thread_loop_lock(loop);
    holdHeard(monotonicMicros());
    dropStream();
    source.reset();
    pw_thread_loop_unlock(loop);
}

void PipeWireOutput::dropStream()
{
    if (stream == nullptr)
        return;
    // Destroying takes the stream off the real-time thread before it
    // returns: nothing reads the source after it.
    spa_hook_remove(&hooks->stream);
    pw_stream_destroy(stream);
    stream = nullptr;
}

void PipeWireOutput::streamChanged(void* data, int, int state, const char*)
{
    if (state == PW_STREAM_STATE_ERROR)
        static_cast<PipeWireOutput*>(data)->streamFailed = true;
}

// On the real-time thread, once a cycle: the next buffer filled, and the
// stream's account of when its frames are heard.
void PipeWireOutput::process(void* data)
{
    auto* self = static_cast<PipeWireOutput*>(data);
    pw_buffer* buffer = pw_stream_dequeue_buffer(self->stream);
    if (buffer == nullptr)
        return;
    spa_data& block = buffer->buffer->datas[0];
    if (block.data == nullptr)
        return;
    std::size_t frames = block.maxsize / bytesPerFrame;
    if (buffer->requested != 0)
        frames = std::min<std::size_t>(frames, buffer->requested);
    auto* samples = static_cast<std::int16_t*>(block.data);
    const std::size_t got = self->source ? self->source->read(samples, frames) : 0;
    // Past the music's end the stream plays silence, so that its time runs on.
    std::memset(samples + 2 * got, 0, (frames - got) * bytesPerFrame);
    block.chunk->offset = 0;
    block.chunk->stride = bytesPerFrame;
    block.chunk->size = static_cast<std::uint32_t>(frames * bytesPerFrame);
    buffer->size = frames; // so that the time below counts what is queued in frames
    pw_stream_queue_buffer(self->stream, buffer);
    self->handed(frames);
    self->handedSoFar += static_cast<std::int64_t>(frames);

    // The buffer filled now waits in the queue for the next cycle: the graph
    // plays, in this one, the buffer filled in the last.
    const auto playing = static_cast<std::int64_t>(self->lastBufferFrames);
    self->lastBufferFrames = frames;

    pw_time time {};
    if (pw_stream_get_time_n(self->stream, &time, sizeof time) < 0 || time.rate.denom == 0 || time.now == 0)
        return;
    // `now` began this cycle. The first frame of the buffer played in it,
    // after what the queue and the resampler still hold, reaches the device
    // `delay` graph ticks later.
    const std::int64_t ahead = time.delay * static_cast<std::int64_t>(self->rate)
        * static_cast<std::int64_t>(time.rate.num) / static_cast<std::int64_t>(time.rate.denom);
    const std::int64_t heard = self->handedSoFar - static_cast<std::int64_t>(time.queued) - playing
        - static_cast<std::int64_t>(time.buffered) - ahead;
    self->answered(heard, static_cast<std::int64_t>(time.now / 1000));
}
