#include "platform/windows/demo/WasapiOutput.h"

#include "platform/windows/core/WindowsError.h"

#include <audioclient.h>
#include <mmdeviceapi.h>
#include <windows.h>

#include <algorithm>
#include <cstring>

#ifndef AUDCLNT_STREAMFLAGS_AUTOCONVERTPCM
#define AUDCLNT_STREAMFLAGS_AUTOCONVERTPCM 0x80000000
#endif
#ifndef AUDCLNT_STREAMFLAGS_SRC_DEFAULT_QUALITY
#define AUDCLNT_STREAMFLAGS_SRC_DEFAULT_QUALITY 0x08000000
#endif

namespace {

// What the endpoint is asked to queue of ours: enough that a busy machine
// never lets it run dry. In 100 ns units.
constexpr REFERENCE_TIME queued = 300 * 10000;
constexpr std::size_t sourceBlockFrames = 1024;

// A COM pointer of ours, released with its owner.
template <class Interface> class Com {
public:
    Com() = default;
    ~Com() { reset(); }
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;

    Interface* operator->() const { return pointer; }
    Interface* get() const { return pointer; }
    explicit operator bool() const { return pointer != nullptr; }
    // For the calls that hand a new one out.
    Interface** put()
    {
        reset();
        return &pointer;
    }
    void** putVoid() { return reinterpret_cast<void**>(put()); }
    void reset()
    {
        if (pointer != nullptr)
            pointer->Release();
        pointer = nullptr;
    }

private:
    Interface* pointer = nullptr;
};

std::string resultText(HRESULT result)
{
    switch (result) {
    case E_NOTFOUND:
        return "there is no sound output device";
    case REGDB_E_CLASSNOTREG:
        return "no audio driver offers an output";
    case AUDCLNT_E_DEVICE_INVALIDATED:
        return "the sound output device went away";
    case AUDCLNT_E_UNSUPPORTED_FORMAT:
        return "the device takes no 16-bit stereo stream";
    default:
        return windowsErrorText(static_cast<unsigned long>(result));
    }
}

WAVEFORMATEX stereo16(DWORD rate)
{
    WAVEFORMATEX format {};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = rate;
    format.wBitsPerSample = 16;
    format.nBlockAlign = 4;
    format.nAvgBytesPerSec = rate * 4;
    return format;
}

} // namespace

struct WasapiOutput::Device {
    Com<IMMDeviceEnumerator> enumerator;
    Com<IMMDevice> endpoint;
    Com<IAudioClient> client;
    Com<IAudioRenderClient> render;
    Com<IAudioClock> clock;
    UINT32 bufferFrames = 0;
    DWORD rate = 0; // the stream's, in frames a second
    DWORD mixRate = 0; // the endpoint's own
    UINT64 clockFrequency = 0; // IAudioClock's units a second
    bool started = false;

    void dropStream()
    {
        if (client && started)
            client->Stop();
        started = false;
        clock.reset();
        render.reset();
        client.reset();
    }
};

std::unique_ptr<WasapiOutput> WasapiOutput::open(std::string& error)
{
    std::unique_ptr<WasapiOutput> output(new WasapiOutput());
    std::unique_lock<std::mutex> locked(output->lock);
    output->changed.wait(locked, [&output] { return output->opened; });
    if (!output->openError.empty()) {
        error = "WASAPI: " + output->openError;
        locked.unlock();
        return nullptr;
    }
    return output;
}

WasapiOutput::WasapiOutput()
    : wakeEvent(CreateEventW(nullptr, FALSE, FALSE, nullptr))
    , worker([this] { run(); })
{
}

WasapiOutput::~WasapiOutput()
{
    {
        std::unique_lock<std::mutex> locked(lock);
        pending = Command::Quit;
    }
    SetEvent(static_cast<HANDLE>(wakeEvent));
    worker.join();
    CloseHandle(static_cast<HANDLE>(wakeEvent));
}

void WasapiOutput::run()
{
    const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    Device device;
    HRESULT result = com;
    if (SUCCEEDED(result))
        result = CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL, __uuidof(IMMDeviceEnumerator),
            device.enumerator.putVoid());
    if (SUCCEEDED(result))
        result = device.enumerator->GetDefaultAudioEndpoint(eRender, eConsole, device.endpoint.put());
    if (SUCCEEDED(result)) {
        // A stream in the endpoint's own format, made and let go, to see
        // that it plays: an endpoint still listed after its device (or the
        // sound server under it) went away answers everything else.
        Com<IAudioClient> client;
        result = device.endpoint->Activate(__uuidof(IAudioClient), CLSCTX_ALL, nullptr, client.putVoid());
        WAVEFORMATEX* mix = nullptr;
        if (SUCCEEDED(result))
            result = client->GetMixFormat(&mix);
        if (SUCCEEDED(result))
            result = client->Initialize(AUDCLNT_SHAREMODE_SHARED, 0, queued, 0, mix, nullptr);
        if (mix != nullptr)
            device.mixRate = mix->nSamplesPerSec;
        CoTaskMemFree(mix);
    }
    {
        const std::lock_guard<std::mutex> locked(lock);
        opened = true;
        if (FAILED(result))
            openError = resultText(result);
    }
    changed.notify_all();
    if (SUCCEEDED(result)) {
        std::unique_lock<std::mutex> locked(lock);
        while (pending != Command::Quit) {
            if (pending != Command::None) {
                carryOut(device, pending);
                pending = Command::None;
                changed.notify_all();
            }
            if (playing && !paused && failure.empty())
                fill(device);
            locked.unlock();
            // The endpoint's event comes each device period; a command sets it too.
            WaitForSingleObject(static_cast<HANDLE>(wakeEvent), 50);
            locked.lock();
        }
    }
    device.dropStream();
    device.endpoint.reset();
    device.enumerator.reset();
    if (SUCCEEDED(com))
        CoUninitialize();
}

void WasapiOutput::ask(Command command, std::unique_lock<std::mutex>& locked)
{
    pending = command;
    SetEvent(static_cast<HANDLE>(wakeEvent));
    changed.wait(locked, [this] { return pending == Command::None; });
}

bool WasapiOutput::play(std::shared_ptr<SoundSource> from, std::string& error)
{
    std::unique_lock<std::mutex> locked(lock);
    if (!failure.empty()) {
        error = failure;
        return false;
    }
    nextSource = std::move(from);
    ask(Command::Play, locked);
    if (!playing) {
        error = "WASAPI: " + failure;
        return false;
    }
    return true;
}

void WasapiOutput::pause(bool pause)
{
    std::unique_lock<std::mutex> locked(lock);
    if (!playing || pause == paused)
        return;
    ask(pause ? Command::Pause : Command::Resume, locked);
}

void WasapiOutput::stop()
{
    std::unique_lock<std::mutex> locked(lock);
    ask(Command::Stop, locked);
}

std::string WasapiOutput::lost() const
{
    const std::lock_guard<std::mutex> locked(lock);
    return failure.empty() ? "" : "the sound server went away";
}

void WasapiOutput::fail(long result)
{
    if (failure.empty())
        failure = resultText(result);
    playing = false;
}

void WasapiOutput::play(Device& device)
{
    device.dropStream();
    source = std::move(nextSource);
    playing = false;
    paused = false;
    // A fresh stream, whose clock starts at 0: the source's own rate,
    // which the endpoint converts; where it will not, its own rate, to
    // which the source is taken here.
    const DWORD sourceRate = source->rate();
    const DWORD flags = AUDCLNT_STREAMFLAGS_EVENTCALLBACK;
    HRESULT result = device.endpoint->Activate(__uuidof(IAudioClient), CLSCTX_ALL, nullptr, device.client.putVoid());
    WAVEFORMATEX format = stereo16(sourceRate);
    if (SUCCEEDED(result)) {
        result = device.client->Initialize(AUDCLNT_SHAREMODE_SHARED,
            flags | AUDCLNT_STREAMFLAGS_AUTOCONVERTPCM | AUDCLNT_STREAMFLAGS_SRC_DEFAULT_QUALITY, queued, 0, &format,
            nullptr);
        if (FAILED(result) && device.mixRate != 0 && device.mixRate != sourceRate) {
            // A client may be initialised once: a new one for the second try.
            result = device.endpoint->Activate(__uuidof(IAudioClient), CLSCTX_ALL, nullptr, device.client.putVoid());
            format = stereo16(device.mixRate);
            if (SUCCEEDED(result))
                result = device.client->Initialize(AUDCLNT_SHAREMODE_SHARED, flags, queued, 0, &format, nullptr);
        }
    }
    if (SUCCEEDED(result))
        result = device.client->SetEventHandle(static_cast<HANDLE>(wakeEvent));
    if (SUCCEEDED(result))
        result = device.client->GetBufferSize(&device.bufferFrames);
    if (SUCCEEDED(result))
        result = device.client->GetService(__uuidof(IAudioRenderClient), device.render.putVoid());
    if (SUCCEEDED(result))
        result = device.client->GetService(__uuidof(IAudioClock), device.clock.putVoid());
    if (SUCCEEDED(result))
        result = device.clock->GetFrequency(&device.clockFrequency);
    if (FAILED(result) || device.clockFrequency == 0) {
        device.dropStream();
        fail(FAILED(result) ? result : E_FAIL);
        return;
    }
    device.rate = format.nSamplesPerSec;
    sourceStep = static_cast<double>(sourceRate) / device.rate;
    sourceAt = 2.0; // the first two source frames are taken in first
    sourceEnded = false;
    std::fill(std::begin(held), std::end(held), std::int16_t(0));
    sourceBlock.clear();
    restartHeard(device.rate);
    playing = true;
    // The queue filled before the stream starts, so that it starts whole.
    fill(device);
    result = device.client->Start();
    if (FAILED(result)) {
        fail(result);
        return;
    }
    device.started = true;
}

void WasapiOutput::carryOut(Device& device, Command command)
{
    switch (command) {
    case Command::Play:
        play(device);
        break;
    case Command::Pause:
        if (device.started && SUCCEEDED(device.client->Stop())) {
            device.started = false;
            holdHeard(monotonicMicros());
            paused = true;
        }
        break;
    case Command::Resume:
        if (device.client && SUCCEEDED(device.client->Start())) {
            device.started = true;
            goHeard();
            paused = false;
        }
        break;
    case Command::Stop:
        holdHeard(monotonicMicros());
        device.dropStream();
        source.reset();
        playing = false;
        break;
    case Command::None:
    case Command::Quit:
        break;
    }
}

void WasapiOutput::fill(Device& device)
{
    UINT32 padding = 0;
    HRESULT result = device.client->GetCurrentPadding(&padding);
    if (FAILED(result)) {
        fail(result);
        return;
    }
    const UINT32 frames = device.bufferFrames - std::min(padding, device.bufferFrames);
    if (frames == 0)
        return;
    BYTE* buffer = nullptr;
    result = device.render->GetBuffer(frames, &buffer);
    if (FAILED(result)) {
        fail(result);
        return;
    }
    auto* samples = reinterpret_cast<std::int16_t*>(buffer);
    std::size_t got = 0;
    if (sourceStep == 1.0) {
        got = source->read(samples, frames);
    } else {
        // Linear steps between the source's frames, for an endpoint that
        // takes only its own rate.
        std::size_t blockAt = 0;
        for (; got < frames; ++got) {
            while (sourceAt >= 1.0 && !sourceEnded) {
                if (blockAt * 2 >= sourceBlock.size()) {
                    sourceBlock.resize(2 * sourceBlockFrames);
                    const std::size_t read = source->read(sourceBlock.data(), sourceBlockFrames);
                    sourceBlock.resize(2 * read);
                    blockAt = 0;
                    if (read == 0) {
                        sourceEnded = true;
                        break;
                    }
                }
                held[0] = held[2];
                held[1] = held[3];
                held[2] = sourceBlock[2 * blockAt];
                held[3] = sourceBlock[2 * blockAt + 1];
                ++blockAt;
                sourceAt -= 1.0;
            }
            if (sourceEnded)
                break;
            for (int side = 0; side < 2; ++side)
                samples[2 * got + side]
                    = static_cast<std::int16_t>(held[side] + (held[side + 2] - held[side]) * sourceAt);
            sourceAt += sourceStep;
        }
        // What is left of the block stays for the next fill.
        sourceBlock.erase(sourceBlock.begin(), sourceBlock.begin() + static_cast<std::ptrdiff_t>(2 * blockAt));
    }
    // Past the music's end the stream plays silence, so that its time runs on.
    std::memset(samples + 2 * got, 0, (frames - got) * 4);
    result = device.render->ReleaseBuffer(frames, 0);
    if (FAILED(result)) {
        fail(result);
        return;
    }
    handed(frames);
    askClock(device);
}

// The frame heard is the stream's position, in the clock's units, at the
// moment of the performance counter that comes with it.
void WasapiOutput::askClock(Device& device)
{
    UINT64 position = 0;
    UINT64 counter = 0;
    const HRESULT result = device.clock->GetPosition(&position, &counter);
    if (FAILED(result)) {
        fail(result);
        return;
    }
    if (!device.started || position == 0)
        return;
    const auto frame = static_cast<std::int64_t>(position * device.rate / device.clockFrequency);
    answered(frame, static_cast<std::int64_t>(counter / 10));
}
