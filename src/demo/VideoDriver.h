#pragma once

// Names SDL's video driver where the platform needs it named, before SDL
// starts; a driver the user names (SDL_VIDEODRIVER) still wins.
void pickVideoDriver();
