#pragma once

// Small building blocks of the soundtrack's synthesizer: deterministic noise,
// band-limited oscillators, a state-variable filter, a stereo mix with its two
// effect sends, and the delay and reverb those sends feed. Everything is
// computed in a fixed order in single precision, so a render is the same on
// every run of the same build.

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr int sampleRate = 44100;
constexpr float twoPi = 6.28318530718f;

// The frequency of a MIDI note (69 is A4 at 440 Hz).
float noteFrequency(float midi);

// White noise from a fixed seed.
class WhiteNoise {
public:
    explicit WhiteNoise(std::uint32_t seed)
        : state(seed == 0 ? 1u : seed)
    {
    }
    float next(); // -1..1

private:
    std::uint32_t state;
};

// A phase accumulator with PolyBLEP-corrected saw and square waves.
class Oscillator {
public:
    explicit Oscillator(float startPhase = 0.0f)
        : phase(startPhase)
    {
    }
    // Advances by one sample at `frequency` and returns the wave at the old phase.
    float saw(float frequency);
    float square(float frequency);
    float sine(float frequency);

private:
    // The phase to sample now; moves on by one sample and gives the step in dt.
    float advance(float frequency, float& dt);
    float phase;
};

// Topology-preserving state-variable filter: low, band and high outputs at once.
class Filter {
public:
    struct Outputs {
        float low, band, high;
    };
    Outputs process(float input, float cutoff, float resonance);
    float low(float input, float cutoff, float resonance = 0.7f) { return process(input, cutoff, resonance).low; }
    float band(float input, float cutoff, float resonance = 0.7f) { return process(input, cutoff, resonance).band; }
    float high(float input, float cutoff, float resonance = 0.7f) { return process(input, cutoff, resonance).high; }

private:
    float ic1 = 0.0f;
    float ic2 = 0.0f;
};

// The stereo mix: a dry pair and two sends, all the length of the track.
class Mix {
public:
    explicit Mix(double seconds);

    std::size_t frames() const { return left.size(); }
    // The frame at `seconds` from the start, clamped into the track.
    std::size_t frameAt(double seconds) const;
    // Adds a mono sample at frame `i`, panned (-1 left .. 1 right) with equal
    // power, and its sends to the delay and the reverb.
    void add(std::size_t i, float sample, float pan, float delaySend = 0.0f, float reverbSend = 0.0f);

    // Runs the sends through a ping-pong delay and a reverb and adds them in.
    void finish(double delaySeconds);

    std::vector<float> left, right;

private:
    std::vector<float> delayIn, reverbInLeft, reverbInRight;
};
