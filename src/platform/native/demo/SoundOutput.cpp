#include "platform/native/demo/SoundOutput.h"

std::uint32_t SoundOutput::heardMilliseconds(std::int64_t micros) const
{
    const std::lock_guard<std::mutex> locked(heardLock);
    return heard.millisecondsAt(micros);
}

bool SoundOutput::heardMoving() const
{
    const std::lock_guard<std::mutex> locked(heardLock);
    return moving;
}

void SoundOutput::setExtraDelay(std::int32_t milliseconds)
{
    const std::lock_guard<std::mutex> locked(heardLock);
    extraDelay = milliseconds;
    heard.setExtraDelay(milliseconds);
}

void SoundOutput::restartHeard(std::uint32_t rate, std::int64_t firstFrame)
{
    const std::lock_guard<std::mutex> locked(heardLock);
    firstHeardFrame = firstFrame;
    moving = false;
    heard = HeardPosition(rate);
    heard.setExtraDelay(extraDelay);
    heard.restart(firstFrame);
}

void SoundOutput::handed(std::uint64_t frames)
{
    const std::lock_guard<std::mutex> locked(heardLock);
    heard.handed(frames);
}

void SoundOutput::answered(std::int64_t frame, std::int64_t micros)
{
    const std::lock_guard<std::mutex> locked(heardLock);
    moving = moving || frame > firstHeardFrame;
    heard.answered(frame, micros);
}

void SoundOutput::holdHeard(std::int64_t micros)
{
    const std::lock_guard<std::mutex> locked(heardLock);
    heard.hold(micros);
}

void SoundOutput::goHeard()
{
    const std::lock_guard<std::mutex> locked(heardLock);
    heard.go();
}

std::int64_t SoundOutput::heardFrames(std::int64_t micros) const
{
    const std::lock_guard<std::mutex> locked(heardLock);
    return heard.outputFrameAt(micros);
}
