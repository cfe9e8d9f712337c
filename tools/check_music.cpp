// Checks the soundtrack as the demo will hear it, decoded:
//   check_music FILE.ogg
// 44.1 kHz stereo; 74 to 80 s long; peaks at or below -1 dBFS; no gap of
// silence (below -60 dBFS over half a second) before its last second.
#include <vorbis/vorbisfile.h>

#include <cmath>
#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: check_music FILE.ogg\n");
        return 2;
    }
    OggVorbis_File file;
    if (ov_fopen(argv[1], &file) != 0) {
        std::fprintf(stderr, "%s: not an Ogg Vorbis file\n", argv[1]);
        return 1;
    }
    const vorbis_info* info = ov_info(&file, -1);
    const long rate = info->rate;
    const int channels = info->channels;
    std::vector<float> frames; // the louder channel of each frame, as an absolute value
    float peak = 0.0f;
    for (;;) {
        float** pcm = nullptr;
        int section = 0;
        const long got = ov_read_float(&file, &pcm, 4096, &section);
        if (got < 0) {
            std::fprintf(stderr, "%s: decoding failed part-way\n", argv[1]);
            ov_clear(&file);
            return 1;
        }
        if (got == 0)
            break;
        for (long i = 0; i < got; ++i) {
            float loudest = 0.0f;
            for (int c = 0; c < channels; ++c)
                loudest = std::fmax(loudest, std::fabs(pcm[c][i]));
            frames.push_back(loudest);
            peak = std::fmax(peak, loudest);
        }
    }
    ov_clear(&file);

    const double seconds = static_cast<double>(frames.size()) / static_cast<double>(rate);
    const double peakDb = 20.0 * std::log10(std::fmax(peak, 1e-9f));
    // The longest run of 50 ms windows whose RMS is below -60 dBFS.
    const std::size_t window = static_cast<std::size_t>(rate / 20);
    const std::size_t tail = static_cast<std::size_t>(rate);
    double longestSilence = 0.0, silence = 0.0;
    for (std::size_t at = 0; at + window + tail <= frames.size(); at += window) {
        double sum = 0.0;
        for (std::size_t i = at; i < at + window; ++i)
            sum += static_cast<double>(frames[i]) * frames[i];
        silence = std::sqrt(sum / static_cast<double>(window)) < 0.001 ? silence + 0.05 : 0.0;
        longestSilence = std::fmax(longestSilence, silence);
    }
    std::printf("%s: %ld Hz, %d channels, %.2f s, peak %.2f dBFS, longest silence %.2f s\n", argv[1], rate, channels,
        seconds, peakDb, longestSilence);
    bool ok = true;
    if (rate != 44100 || channels != 2) {
        std::fprintf(stderr, "expected 44100 Hz stereo\n");
        ok = false;
    }
    if (seconds < 74.0 || seconds > 80.0) {
        std::fprintf(stderr, "expected 74 to 80 s, the length of the demo\n");
        ok = false;
    }
    if (peakDb > -1.0) {
        std::fprintf(stderr, "peaks above -1 dBFS\n");
        ok = false;
    }
    if (longestSilence >= 0.5) {
        std::fprintf(stderr, "a gap of silence of %.2f s\n", longestSilence);
        ok = false;
    }
    return ok ? 0 : 1;
}
