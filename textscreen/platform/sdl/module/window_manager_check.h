// Whether the desktop can put a window on the whole screen. On X11 a full-screen request is
// carried out by the window manager: where none runs, SDL would leave the window black at
// its old size, so the switch is better not asked for. Window thread only.
#pragma once

#include <SDL.h>

namespace textscreen::platform {

bool full_screen_possible(SDL_Window* window);

}  // namespace textscreen::platform
