#pragma once

#include <cstdint>

// Value noise on a lattice that wraps after periodX by periodY cells, so a
// texture sampled over exactly one period tiles without a seam. Unequal periods
// give stretched (brushed-looking) noise.
class TileableNoise {
public:
    TileableNoise(int periodX, int periodY, std::uint32_t seed);

    // Smoothly interpolated value in [0, 1]; x and y are in lattice cells.
    float at(float x, float y) const { return fractal(x, y, 1); }

    // Sum of `octaves` layers, each with twice the lattice frequency and half the
    // weight of the previous, normalised back to [0, 1]. The periods double with
    // the frequency, so every octave wraps at the same place.
    float fractal(float x, float y, int octaves) const;

private:
    float lattice(int x, int y, int scale, int octave) const;

    int periodX;
    int periodY;
    std::uint32_t seed;
};
