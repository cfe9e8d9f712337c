#include "Soundtrack.h"

#include "Synth.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

// The soundtrack of the demo, in A minor: a pad swell for the start-up,
// a four-to-the-floor groove for the cross at 126 beats a minute, a darker,
// slower groove in D minor for the swelling ball (119, one bar per pulse),
// with a breakdown while it shrinks and a brighter return when it regrows
// green, and for the three balls a build-up, a drop when they meet and an
// ending on A major as the last fade closes. Bars start where the pictures'
// own events fall: the sweep restarts of scene one, the pulses of scenes two
// and three.

namespace {

// Chords as MIDI notes, bass root first.
struct Chord {
    int root;
    std::vector<int> tones;
};

const Chord aMinor { 45, { 57, 60, 64 } };
const Chord fMajor { 41, { 57, 60, 65 } };
const Chord cMajor { 48, { 55, 60, 64 } };
const Chord gMajor { 43, { 55, 59, 62 } };
const Chord dMinor { 38, { 57, 62, 65 } };
const Chord bFlatMajor { 46, { 58, 62, 65 } };
const Chord gMinor { 43, { 55, 58, 62 } };
const Chord aMajor { 45, { 57, 61, 64 } };
const Chord aMajorWide { 33, { 45, 52, 57, 61, 64, 69 } };

float decay(double t, double time)
{
    return static_cast<float>(std::exp(-t / time));
}

// Bass and pads duck under the kick, which gives the groove its pump.
class Ducking {
public:
    explicit Ducking(std::size_t frames)
        : gain(frames, 1.0f)
    {
    }
    void kickAt(std::size_t frame)
    {
        for (std::size_t i = frame; i < gain.size() && i < frame + sampleRate / 2; ++i) {
            const double t = static_cast<double>(i - frame) / sampleRate;
            gain[i] = std::min(gain[i], 1.0f - 0.55f * decay(t, 0.11));
        }
    }
    float at(std::size_t frame) const { return frame < gain.size() ? gain[frame] : 1.0f; }

private:
    std::vector<float> gain;
};

class Band {
public:
    Band(Mix& mix, Ducking& ducking)
        : mix(mix)
        , ducking(ducking)
    {
    }

    void kick(double at, float gain)
    {
        const std::size_t start = mix.frameAt(at);
        ducking.kickAt(start);
        Oscillator body;
        WhiteNoise click(static_cast<std::uint32_t>(start) + 7u);
        for (std::size_t i = 0; i < sampleRate / 2; ++i) {
            const double t = static_cast<double>(i) / sampleRate;
            const float pitch = 46.0f + 120.0f * decay(t, 0.03);
            float s = body.sine(pitch) * decay(t, 0.26);
            if (t < 0.004)
                s += click.next() * 0.35f * decay(t, 0.001);
            mix.add(start + i, std::tanh(1.6f * s) * gain, 0.0f);
        }
    }

    void snare(double at, float gain, float pan = 0.0f)
    {
        const std::size_t start = mix.frameAt(at);
        Oscillator tone;
        WhiteNoise noise(static_cast<std::uint32_t>(start) + 11u);
        Filter band;
        for (std::size_t i = 0; i < sampleRate * 3 / 10; ++i) {
            const double t = static_cast<double>(i) / sampleRate;
            const float body = tone.sine(185.0f - 30.0f * static_cast<float>(t)) * decay(t, 0.05) * 0.55f;
            const float crack = band.band(noise.next(), 2100.0f, 0.8f) * decay(t, 0.12) * 1.3f;
            mix.add(start + i, (body + crack) * gain, pan, 0.05f, 0.3f);
        }
    }

    void hat(double at, float gain, bool open, float pan)
    {
        const std::size_t start = mix.frameAt(at);
        WhiteNoise noise(static_cast<std::uint32_t>(start) + 13u);
        Filter high;
        const double length = open ? 0.35 : 0.08;
        for (std::size_t i = 0; i < static_cast<std::size_t>(length * sampleRate); ++i) {
            const double t = static_cast<double>(i) / sampleRate;
            const float s = high.high(noise.next(), 7500.0f, 0.9f) * decay(t, open ? 0.12 : 0.025);
            mix.add(start + i, s * gain, pan, 0.0f, 0.08f);
        }
    }

    // A filtered saw bass; `bright` opens its filter.
    void bass(double at, double length, int note, float gain, float bright)
    {
        const std::size_t start = mix.frameAt(at);
        Oscillator saw(0.1f), sub(0.3f);
        Filter filter;
        const float f = noteFrequency(static_cast<float>(note));
        const auto frames = static_cast<std::size_t>((length + 0.05) * sampleRate);
        for (std::size_t i = 0; i < frames; ++i) {
            const double t = static_cast<double>(i) / sampleRate;
            const float cutoff = 180.0f + bright * (250.0f + 1400.0f * decay(t, 0.09));
            float s = filter.low(saw.saw(f) * 0.7f + sub.sine(f * 0.5f) * 0.6f, cutoff, 1.3f);
            const float attack = std::min(1.0f, static_cast<float>(t / 0.004));
            const float release = t > length ? decay(t - length, 0.015) : 1.0f;
            s *= attack * release * (0.75f + 0.25f * decay(t, 0.2));
            mix.add(start + i, s * gain * ducking.at(start + i), 0.0f);
        }
    }

    // Detuned saw pairs under a slowly breathing filter, each tone placed
    // apart in the stereo field.
    void pad(double at, double length, const Chord& chord, float gain, float bright, double attack = 0.35)
    {
        const std::size_t start = mix.frameAt(at);
        const auto frames = static_cast<std::size_t>((length + 1.2) * sampleRate);
        const std::size_t voices = chord.tones.size();
        for (std::size_t v = 0; v < voices; ++v) {
            const float f = noteFrequency(static_cast<float>(chord.tones[v]));
            Oscillator a(0.13f * static_cast<float>(v)), b(0.57f + 0.07f * static_cast<float>(v));
            Filter filter;
            const float pan = voices > 1 ? -0.6f + 1.2f * static_cast<float>(v) / static_cast<float>(voices - 1) : 0.0f;
            for (std::size_t i = 0; i < frames; ++i) {
                const double t = static_cast<double>(i) / sampleRate;
                const float lfo
                    = 0.5f + 0.5f * std::sin(twoPi * 0.23f * static_cast<float>(at + t) + static_cast<float>(v));
                const float cutoff = 500.0f + bright * (900.0f + 700.0f * lfo);
                float s = a.saw(f * 1.0035f) + b.saw(f * 0.9965f);
                s = filter.low(s, cutoff, 0.8f);
                const float rise = std::min(1.0f, static_cast<float>(t / attack));
                const float fall = t > length ? decay(t - length, 0.35) : 1.0f;
                s *= rise * fall / static_cast<float>(voices);
                mix.add(start + i, s * gain * (0.4f + 0.6f * ducking.at(start + i)), pan, 0.0f, 0.35f);
            }
        }
    }

    // A plucked square-saw note through a closing filter, for arpeggios and stabs.
    void pluck(double at, int note, float gain, float pan, float bright)
    {
        const std::size_t start = mix.frameAt(at);
        Oscillator a, b(0.25f);
        Filter filter;
        const float f = noteFrequency(static_cast<float>(note));
        for (std::size_t i = 0; i < sampleRate * 6 / 10; ++i) {
            const double t = static_cast<double>(i) / sampleRate;
            const float cutoff = 600.0f + bright * 5000.0f * decay(t, 0.07);
            float s = filter.low(a.square(f) * 0.5f + b.saw(f * 2.0f) * 0.25f, cutoff, 1.1f);
            s *= decay(t, 0.16) * std::min(1.0f, static_cast<float>(t / 0.002));
            mix.add(start + i, s * gain, pan, 0.45f, 0.2f);
        }
    }

    // A singing saw lead with a delayed vibrato.
    void lead(double at, double length, int note, float gain)
    {
        const std::size_t start = mix.frameAt(at);
        Oscillator a(0.2f), b(0.7f), vibrato;
        Filter filter;
        const float f = noteFrequency(static_cast<float>(note));
        const auto frames = static_cast<std::size_t>((length + 0.25) * sampleRate);
        for (std::size_t i = 0; i < frames; ++i) {
            const double t = static_cast<double>(i) / sampleRate;
            const float depth = t > 0.18 ? 0.004f : 0.0f;
            const float wobble = 1.0f + depth * vibrato.sine(5.2f);
            float s = a.saw(f * wobble) + 0.6f * b.saw(f * 1.006f * wobble);
            s = filter.low(s, 2800.0f + 800.0f * decay(t, 0.2), 0.9f);
            const float rise = std::min(1.0f, static_cast<float>(t / 0.012));
            const float fall = t > length ? decay(t - length, 0.06) : 1.0f;
            mix.add(start + i, s * rise * fall * gain, 0.15f, 0.3f, 0.3f);
        }
    }

    // WhiteNoise through a band-pass sweeping upward, growing toward `end`.
    void riser(double from, double end, float gain)
    {
        const std::size_t start = mix.frameAt(from);
        const std::size_t stop = mix.frameAt(end);
        WhiteNoise noise(static_cast<std::uint32_t>(start) + 17u);
        Filter filter;
        Oscillator whistle;
        for (std::size_t i = start; i < stop; ++i) {
            const float u = static_cast<float>(i - start) / static_cast<float>(stop - start);
            const float cutoff = 300.0f * std::pow(24.0f, u);
            float s = filter.band(noise.next(), cutoff, 1.6f) * 1.6f + whistle.sine(200.0f + 600.0f * u * u) * 0.12f;
            mix.add(i, s * gain * u * u, 0.3f * std::sin(twoPi * 2.0f * u), 0.0f, 0.4f);
        }
    }

    // A crash and a low boom, for scene changes and drops.
    void impact(double at, float gain)
    {
        const std::size_t start = mix.frameAt(at);
        WhiteNoise noise(static_cast<std::uint32_t>(start) + 19u);
        Filter filter;
        Oscillator boom;
        for (std::size_t i = 0; i < sampleRate * 2; ++i) {
            const double t = static_cast<double>(i) / sampleRate;
            const float crash = filter.high(noise.next(), 3000.0f, 0.6f) * decay(t, 0.55) * 0.5f;
            const float low = boom.sine(52.0f - 10.0f * static_cast<float>(t)) * decay(t, 0.45);
            mix.add(start + i, (crash + low) * gain, 0.0f, 0.0f, 0.45f);
        }
    }

    // A falling chirp for an image strip flashing up, placed on its side of the screen.
    void zap(double at, float gain, float pan)
    {
        const std::size_t start = mix.frameAt(at);
        Oscillator tone;
        for (std::size_t i = 0; i < sampleRate / 4; ++i) {
            const double t = static_cast<double>(i) / sampleRate;
            const float pitch = 220.0f + 2200.0f * decay(t, 0.035);
            mix.add(start + i, tone.sine(pitch) * decay(t, 0.08) * gain, pan, 0.5f, 0.25f);
        }
    }

    Mix& mix;
    Ducking& ducking;
};

// Bar starts every `length` seconds from `first` up to `end` (exclusive).
std::vector<double> bars(double first, double length, double end)
{
    std::vector<double> starts;
    for (double t = first; t < end - 1e-6; t += length)
        starts.push_back(t);
    return starts;
}

// One bar of groove: kick on the beats, snare on two and four, hats between.
void groove(Band& band, double bar, double beat, float energy, bool fullKick)
{
    for (int b = 0; b < 4; ++b) {
        const double at = bar + beat * b;
        if (fullKick || b == 0)
            band.kick(at, 0.9f);
        if (b % 2 == 1)
            band.snare(at, 0.42f * energy);
        band.hat(at + beat * 0.5, 0.16f * energy, energy > 0.9f && b % 2 == 1, 0.25f);
        if (energy > 0.6f) {
            band.hat(at + beat * 0.25, 0.06f * energy, false, -0.2f);
            band.hat(at + beat * 0.75, 0.07f * energy, false, 0.35f);
        }
    }
}

// The bass on eighths, root and octave, through a filter that `bright` opens.
void bassLine(Band& band, double bar, double beat, const Chord& chord, float gain, float bright)
{
    for (int e = 0; e < 8; ++e) {
        const int note = chord.root + (e % 2 == 1 ? 12 : 0);
        band.bass(bar + beat * 0.5 * e, beat * 0.42, note, gain, bright);
    }
}

// Chord tones up and down over two octaves, in sixteenths.
void arpeggio(Band& band, double bar, double beat, const Chord& chord, float gain, float bright, int octave = 12)
{
    static const int order[8] = { 0, 1, 2, 3, 4, 3, 2, 1 };
    for (int s = 0; s < 16; ++s) {
        const int step = order[s % 8];
        const std::size_t tone = static_cast<std::size_t>(step) % chord.tones.size();
        const int note = chord.tones[tone] + octave + (step >= 3 ? 12 : 0);
        band.pluck(bar + beat * 0.25 * s, note, gain, s % 2 == 0 ? -0.45f : 0.45f, bright);
    }
}

void sceneOne(Band& band, const DemoMoments& m)
{
    const double bar = m.sweepRestarts.size() > 1 ? m.sweepRestarts[1] - m.sweepRestarts[0] : 1.904;
    const double beat = bar / 4.0;
    const std::vector<double> starts = bars(m.firstSweep, bar, m.sceneTwoStart);
    const Chord progression[4] = { aMinor, fMajor, cMajor, gMajor };

    // The start-up swell: from the first frame to the first sweep.
    band.pad(0.0, m.firstSweep, aMinor, 0.5f, 0.2f, 0.5);
    band.riser(0.0, m.firstSweep, 0.18f);
    band.impact(m.firstSweep, 0.35f);

    for (std::size_t k = 0; k < starts.size(); ++k) {
        const double at = starts[k];
        const double length = std::min(bar, m.sceneTwoStart - at);
        const Chord& chord = progression[k % 4];
        const bool spinning = at + 0.5 * beat >= m.spinStart;
        const bool shrinking = at + 0.5 * beat >= m.shrinkStart;
        const bool full = k >= 4 && !shrinking;
        band.pad(at, length, chord, shrinking ? 0.42f : 0.32f, spinning ? 0.9f : 0.5f);
        if (length < bar * 0.99)
            continue; // the last, short bar: the pad leads into scene two
        if (k < 4) {
            // Half time under the slow start: a kick per bar, hats from the second pair.
            band.kick(at, 0.85f);
            band.kick(at + 2.5 * beat, 0.55f);
            if (k >= 2)
                for (int b = 0; b < 4; ++b)
                    band.hat(at + beat * (b + 0.5), 0.12f, false, 0.25f);
            band.bass(at, bar * 0.95, chord.root, 0.32f, 0.3f);
        } else if (full) {
            groove(band, at, beat, spinning ? 1.0f : 0.8f, true);
            bassLine(band, at, beat, chord, 0.3f, spinning ? 1.0f : 0.7f);
            if (spinning)
                arpeggio(band, at, beat, chord, 0.085f, 0.8f);
        } else {
            // The arms shrink: the kick thins to the downbeat, the arpeggio falls an octave.
            band.kick(at, 0.75f);
            for (int b = 0; b < 4; ++b)
                band.hat(at + beat * (b + 0.5), 0.1f, false, 0.25f);
            arpeggio(band, at, beat, chord, 0.07f, 0.5f, 0);
            band.bass(at, bar * 0.95, chord.root, 0.28f, 0.2f);
        }
    }
    const double lastFull = starts.size() > 1 ? starts[starts.size() - 2] : m.firstSweep;
    band.riser(lastFull, m.sceneTwoStart, 0.3f);
    for (int k = 0; k < 3; ++k) {
        const float pan = k == 0 ? -0.55f : 0.55f;
        for (double at : m.stripFlashes[k])
            band.zap(at, 0.2f, pan);
    }
}

void sceneTwo(Band& band, const DemoMoments& m)
{
    const std::vector<double>& pulses = m.sceneTwoPulses;
    if (pulses.empty())
        return;
    const double bar = pulses.size() > 1 ? pulses[1] - pulses[0] : 2.016;
    const double beat = bar / 4.0;
    const Chord darker[4] = { dMinor, bFlatMajor, gMinor, aMajor };
    const Chord brighter[4] = { fMajor, cMajor, gMajor, aMinor };

    // The ball swells: a drone and a rising pad into the first pulse.
    band.impact(m.sceneTwoStart, 0.5f);
    band.pad(m.sceneTwoStart, pulses[0] - m.sceneTwoStart, dMinor, 0.45f, 0.3f, 1.2);
    band.bass(m.sceneTwoStart, pulses[0] - m.sceneTwoStart, 38, 0.3f, 0.1f);
    band.riser(m.sceneTwoStart + 0.4, pulses[0], 0.25f);

    const std::vector<double> starts = bars(pulses[0], bar, m.sceneThreeStart);
    for (std::size_t k = 0; k < starts.size(); ++k) {
        const double at = starts[k];
        const double length = std::min(bar, m.sceneThreeStart - at);
        const bool shrinking = at + beat >= m.sceneTwoShrink && at < m.sceneTwoReset;
        const bool regrowing = at >= m.sceneTwoReset - beat && at < m.sceneTwoRegrown - beat;
        const bool green = at >= m.sceneTwoReset - beat;
        const Chord& chord = green ? brighter[k % 4] : darker[k % 4];
        band.pad(at, length, chord, 0.36f, green ? 0.85f : 0.55f);
        if (length < bar * 0.99)
            continue;
        if (shrinking || regrowing) {
            // The breakdown: the ball shrinks, is reset and regrows; hats and a heartbeat kick.
            band.kick(at, 0.6f);
            for (int b = 0; b < 8; ++b)
                band.hat(at + beat * 0.5 * b + beat * 0.25, 0.07f, false, b % 2 == 0 ? -0.3f : 0.3f);
            band.bass(at, bar * 0.9, chord.root, 0.25f, 0.15f);
            if (regrowing)
                arpeggio(band, at, beat, chord, 0.06f, 0.4f);
        } else {
            groove(band, at, beat, green ? 1.0f : 0.85f, true);
            bassLine(band, at, beat, chord, 0.3f, green ? 0.9f : 0.6f);
            if (green)
                arpeggio(band, at, beat, chord, 0.08f, 0.9f);
        }
    }
    // Each pulse of the ball: a stab of the bar's chord high up.
    for (std::size_t k = 0; k < pulses.size(); ++k) {
        if (pulses[k] >= m.sceneThreeStart)
            break;
        const bool green = pulses[k] >= m.sceneTwoReset;
        const Chord& chord = green ? brighter[k % 4] : darker[k % 4];
        for (std::size_t t = 0; t < chord.tones.size(); ++t)
            band.pluck(pulses[k], chord.tones[t] + 12, 0.07f, -0.4f + 0.4f * static_cast<float>(t), 1.0f);
    }
    band.riser(m.sceneThreeStart - bar, m.sceneThreeStart, 0.25f);
}

void sceneThree(Band& band, const DemoMoments& m)
{
    const std::vector<double>& pulses = m.sceneThreePulses;
    if (pulses.empty())
        return;
    const double bar = pulses.size() > 1 ? pulses[1] - pulses[0] : 2.016;
    const double beat = bar / 4.0;
    const Chord progression[4] = { aMinor, fMajor, cMajor, gMajor };
    // The melody over the drop, two bars long: (beat, length in beats, note).
    struct Note {
        double beat, length;
        int note;
    };
    const Note melody[] = { { 0, 1.5, 76 }, { 1.5, 0.5, 74 }, { 2, 1, 72 }, { 3, 1, 71 }, { 4, 1.5, 72 },
        { 5.5, 0.5, 69 }, { 6, 2, 72 } };
    const Note answer[]
        = { { 0, 1.5, 72 }, { 1.5, 0.5, 74 }, { 2, 1, 76 }, { 3, 1, 79 }, { 4, 2, 79 }, { 6, 1, 74 }, { 7, 1, 71 } };

    band.impact(m.sceneThreeStart, 0.45f);
    band.pad(m.sceneThreeStart, pulses[0] - m.sceneThreeStart, aMinor, 0.4f, 0.3f, 0.8);

    // The drop lands on the first bar after the balls meet.
    double drop = pulses.back();
    for (double p : pulses)
        if (p >= m.ballsMeet - 0.1) {
            drop = p;
            break;
        }
    const double ending = std::max(drop, m.finalFade - beat);
    const std::vector<double> starts = bars(pulses[0], bar, m.lastFrame);
    for (std::size_t k = 0; k < starts.size(); ++k) {
        const double at = starts[k];
        const Chord& chord = progression[k % 4];
        if (at >= ending - 1e-6)
            break;
        if (at < drop - 1e-6) {
            // The balls travel: a pedal on A, the beat building bar by bar.
            const double toDrop = (drop - at) / bar; // bars left
            band.pad(at, bar, aMinor, 0.3f, 0.3f + 0.15f * static_cast<float>(4.0 - toDrop));
            band.kick(at, 0.85f);
            if (toDrop <= 2.5)
                for (int b = 1; b < 4; ++b)
                    band.kick(at + beat * b, 0.7f);
            for (int e = 0; e < 8; ++e)
                band.bass(at + beat * 0.5 * e, beat * 0.4, e % 2 ? 57 : 45, 0.26f,
                    0.2f + 0.2f * static_cast<float>(4.0 - toDrop));
            arpeggio(band, at, beat, aMinor, 0.05f + 0.01f * static_cast<float>(4.0 - toDrop),
                0.3f + 0.15f * static_cast<float>(4.0 - toDrop));
            if (toDrop <= 1.5) {
                // A snare roll that doubles its speed into the drop.
                for (int s = 0; s < 8; ++s)
                    band.snare(at + beat * 0.5 * s, 0.12f + 0.02f * s, 0.0f);
                for (int s = 0; s < 8; ++s)
                    band.snare(at + 2.0 * beat + beat * 0.25 * s, 0.2f + 0.02f * s, 0.0f);
            }
            continue;
        }
        // The drop: the whole band and the melody.
        const int pair = static_cast<int>((at - drop) / bar + 0.5);
        band.pad(at, bar, chord, 0.3f, 1.0f);
        groove(band, at, beat, 1.0f, true);
        bassLine(band, at, beat, chord, 0.32f, 1.0f);
        arpeggio(band, at, beat, chord, 0.06f, 1.0f);
        if (pair % 2 == 0) {
            const Note* line = (pair / 2) % 2 == 0 ? melody : answer;
            for (int n = 0; n < 7; ++n)
                band.lead(at + line[n].beat * beat, line[n].length * beat * 0.92, line[n].note, 0.09f);
        }
    }
    band.riser(drop - bar, drop, 0.32f);
    band.impact(drop, 0.6f);

    // The ending: A major, held while the picture fades out, and a last pulse.
    band.impact(ending, 0.45f);
    band.kick(ending, 0.9f);
    band.pad(ending, m.lastFrame - ending, aMajorWide, 0.55f, 0.7f, 0.05);
    band.bass(ending, m.lastFrame - ending, 33, 0.3f, 0.3f);
    for (double p : pulses)
        if (p > ending + 0.1 && p < m.lastFrame)
            band.kick(p, 0.45f);
    for (std::size_t t = 0; t < aMajor.tones.size(); ++t)
        band.pluck(ending, aMajor.tones[t] + 24, 0.08f, -0.4f + 0.4f * static_cast<float>(t), 1.0f);
}

} // namespace

std::vector<float> renderSoundtrack(const DemoMoments& moments, double seconds, float peak)
{
    Mix mix(seconds);
    Ducking ducking(mix.frames());
    Band band(mix, ducking);
    sceneOne(band, moments);
    sceneTwo(band, moments);
    sceneThree(band, moments);
    mix.finish(0.357);

    // The last fade of the pictures is the last fade of the music, down to a
    // quiet tail that ends the file.
    const std::size_t fadeFrom = mix.frameAt(moments.finalFade);
    const std::size_t fadeTo = mix.frameAt(moments.lastFrame);
    std::vector<float> out(mix.frames() * 2);
    Filter dcLeft, dcRight;
    float highest = 0.0f;
    for (std::size_t i = 0; i < mix.frames(); ++i) {
        float gain = 1.0f;
        if (i >= fadeFrom && fadeTo > fadeFrom) {
            const float u = std::min(1.0f, static_cast<float>(i - fadeFrom) / static_cast<float>(fadeTo - fadeFrom));
            gain = 1.0f - 0.9f * u * u;
        }
        const float l = std::tanh(dcLeft.high(mix.left[i], 22.0f, 0.7f) * gain);
        const float r = std::tanh(dcRight.high(mix.right[i], 22.0f, 0.7f) * gain);
        out[2 * i] = l;
        out[2 * i + 1] = r;
        highest = std::max(highest, std::max(std::fabs(l), std::fabs(r)));
    }
    const float scale = highest > 0.0f ? peak / highest : 1.0f;
    for (float& s : out)
        s *= scale;
    return out;
}
