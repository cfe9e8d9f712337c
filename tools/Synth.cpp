#include "Synth.h"

#include <algorithm>
#include <array>
#include <cmath>

float noteFrequency(float midi)
{
    return 440.0f * std::pow(2.0f, (midi - 69.0f) / 12.0f);
}

float WhiteNoise::next()
{
    // xorshift32
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return static_cast<float>(state) / 2147483648.0f - 1.0f;
}

namespace {

// The step a discontinuity leaves, smoothed over one sample on either side.
float polyBlep(float t, float dt)
{
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0f;
    }
    if (t > 1.0f - dt) {
        t = (t - 1.0f) / dt;
        return t * t + t + t + 1.0f;
    }
    return 0.0f;
}

} // namespace

float Oscillator::advance(float frequency, float& dt)
{
    dt = std::min(frequency / static_cast<float>(sampleRate), 0.5f);
    const float now = phase;
    phase += dt;
    if (phase >= 1.0f)
        phase -= 1.0f;
    return now;
}

float Oscillator::saw(float frequency)
{
    float dt = 0.0f;
    const float p = advance(frequency, dt);
    return 2.0f * p - 1.0f - polyBlep(p, dt);
}

float Oscillator::square(float frequency)
{
    float dt = 0.0f;
    const float p = advance(frequency, dt);
    float half = p + 0.5f;
    if (half >= 1.0f)
        half -= 1.0f;
    return (p < 0.5f ? 1.0f : -1.0f) + polyBlep(p, dt) - polyBlep(half, dt);
}

float Oscillator::sine(float frequency)
{
    float dt = 0.0f;
    return std::sin(twoPi * advance(frequency, dt));
}

Filter::Outputs Filter::process(float input, float cutoff, float resonance)
{
    const float nyquistSafe = std::min(cutoff, 0.45f * static_cast<float>(sampleRate));
    const float g = std::tan(3.14159265f * nyquistSafe / static_cast<float>(sampleRate));
    const float k = 1.0f / std::max(resonance, 0.05f);
    const float a1 = 1.0f / (1.0f + g * (g + k));
    const float a2 = g * a1;
    const float a3 = g * a2;
    const float v3 = input - ic2;
    const float v1 = a1 * ic1 + a2 * v3;
    const float v2 = ic2 + a2 * ic1 + a3 * v3;
    ic1 = 2.0f * v1 - ic1;
    ic2 = 2.0f * v2 - ic2;
    return { v2, v1, input - k * v1 - v2 };
}

Mix::Mix(double seconds)
{
    const auto count = static_cast<std::size_t>(seconds * sampleRate);
    left.assign(count, 0.0f);
    right.assign(count, 0.0f);
    delayIn.assign(count, 0.0f);
    reverbInLeft.assign(count, 0.0f);
    reverbInRight.assign(count, 0.0f);
}

std::size_t Mix::frameAt(double seconds) const
{
    if (seconds <= 0.0)
        return 0;
    const auto frame = static_cast<std::size_t>(seconds * sampleRate + 0.5);
    return std::min(frame, frames());
}

void Mix::add(std::size_t i, float sample, float pan, float delaySend, float reverbSend)
{
    if (i >= frames())
        return;
    const float angle = (std::clamp(pan, -1.0f, 1.0f) + 1.0f) * 0.25f * 3.14159265f;
    const float l = sample * std::cos(angle);
    const float r = sample * std::sin(angle);
    left[i] += l;
    right[i] += r;
    delayIn[i] += sample * delaySend;
    reverbInLeft[i] += l * reverbSend;
    reverbInRight[i] += r * reverbSend;
}

namespace {

// One comb of the reverb: a delay whose feedback passes a gentle low-pass.
struct Comb {
    std::vector<float> line;
    std::size_t at = 0;
    float damped = 0.0f;
    float process(float input, float feedback, float damping)
    {
        const float out = line[at];
        damped = out * (1.0f - damping) + damped * damping;
        line[at] = input + damped * feedback;
        at = (at + 1) % line.size();
        return out;
    }
};

struct AllPass {
    std::vector<float> line;
    std::size_t at = 0;
    float process(float input)
    {
        const float delayed = line[at];
        const float out = delayed - input;
        line[at] = input + delayed * 0.5f;
        at = (at + 1) % line.size();
        return out;
    }
};

// A small Schroeder reverb: four combs in parallel, two all-passes in series.
// The right channel's lines are a few samples longer, which widens the tail.
void reverberate(const std::vector<float>& in, std::vector<float>& out, std::size_t spread)
{
    const std::array<std::size_t, 4> combLengths { 1557, 1617, 1491, 1422 };
    const std::array<std::size_t, 2> allPassLengths { 556, 441 };
    std::array<Comb, 4> combs;
    for (std::size_t c = 0; c < combs.size(); ++c)
        combs[c].line.assign(combLengths[c] + spread, 0.0f);
    std::array<AllPass, 2> allPasses;
    for (std::size_t a = 0; a < allPasses.size(); ++a)
        allPasses[a].line.assign(allPassLengths[a] + spread, 0.0f);
    for (std::size_t i = 0; i < in.size(); ++i) {
        float sum = 0.0f;
        for (Comb& comb : combs)
            sum += comb.process(in[i], 0.82f, 0.3f);
        for (AllPass& pass : allPasses)
            sum = pass.process(sum);
        out[i] += sum * 0.25f;
    }
}

} // namespace

void Mix::finish(double delaySeconds)
{
    // Ping-pong: the echo lands left, then right, each softer and darker.
    const auto delay = static_cast<std::size_t>(delaySeconds * sampleRate);
    std::vector<float> echoLeft(frames(), 0.0f), echoRight(frames(), 0.0f);
    Filter darken;
    for (std::size_t i = delay; i < frames(); ++i) {
        const float fedBack = darken.low(echoRight[i - delay], 3500.0f);
        echoLeft[i] = delayIn[i - delay] + 0.42f * fedBack;
        echoRight[i] = echoLeft[i - delay];
    }
    for (std::size_t i = 0; i < frames(); ++i) {
        left[i] += 0.5f * echoLeft[i];
        right[i] += 0.5f * echoRight[i];
        reverbInLeft[i] += 0.15f * echoLeft[i];
        reverbInRight[i] += 0.15f * echoRight[i];
    }
    reverberate(reverbInLeft, left, 0);
    reverberate(reverbInRight, right, 23);
}
