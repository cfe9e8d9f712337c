#include "demo/Music.h"

#include "core/Logger.h"

namespace {

constexpr int channelCount = 10;

void logError(const std::string& text)
{
    VornE::log(VornE::Error, text, "\n");
}

} // namespace

Music::Music()
{
    VornE::log(VornE::Info, "Music created\n");
}

Music::~Music()
{
    sound.reset();
    system.reset(); // closes, then releases
    VornE::log(VornE::Info, "Music deleted\n");
}

bool Music::init(const std::string& outputName)
{
    system = std::make_unique<AudioSystem>();
    if (system->create() && system->init(channelCount, outputName))
        return true;
    logError(system->errorText());
    // No sound card here (a server, a capture machine): without an output no
    // stream could open, and the demo would report its music missing.
    if (!system->initSilent(channelCount))
        logError(system->errorText());
    return false;
}

bool Music::load(const std::string& path)
{
    sound.reset();
    if (!system) {
        logError("The audio system is not initialised");
        return false;
    }
    sound = system->createStream(path);
    if (!sound) {
        logError(system->errorText());
        return false;
    }
    return true;
}

void Music::play()
{
    if (channel != nullptr && channel->isPaused()) {
        channel->setPaused(false);
        return;
    }
    if (!sound)
        return;
    channel = system->play(*sound);
    if (channel != nullptr)
        channel->setLoopCount(-1);
}

void Music::playFrom(std::uint32_t milliseconds)
{
    if (milliseconds == 0 || !sound) {
        play();
        return;
    }
    channel = system->play(*sound, milliseconds / 1000.0);
    if (channel != nullptr)
        channel->setLoopCount(-1);
}

void Music::update()
{
    if (!system)
        return;
    system->update();
    if (const std::string notice = system->takeNotice(); !notice.empty())
        VornE::log(VornE::Warning, notice, "\n");
}

std::optional<std::uint32_t> Music::position() const
{
    if (channel == nullptr || !system)
        return std::nullopt;
    return system->playedMilliseconds();
}

void Music::setExtraDelay(std::int32_t milliseconds)
{
    if (system)
        system->setExtraDelay(milliseconds);
}

void Music::stop()
{
    if (channel != nullptr)
        channel->stop();
}

void Music::pause()
{
    if (channel != nullptr)
        channel->setPaused(true);
}

void Music::resume()
{
    if (channel != nullptr && channel->isPaused())
        channel->setPaused(false);
}
