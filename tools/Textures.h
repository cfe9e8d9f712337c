#pragma once

#include "Image.h"

// The painters of the demo's images. Each returns a finished canvas and depends
// on nothing but its own fixed seeds.

// The room's surface: 1024x1024 RGB metal panels that tile seamlessly.
Image paintWall();

// The three flashing strips: 128x1024 RGBA, index 1, 2 or 3.
Image paintStrip(int index);

// A 256x256 RGB test card and the 256x256 RGBA fade gradient.
Image paintTestCard();
Image paintFade();
