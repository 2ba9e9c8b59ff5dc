// The loss of the display, as the SDL drivers see it. When its connection to the X server
// breaks, Xlib calls exit() on whichever thread noticed: on a window thread the exit steps
// would then close the graphics screen and join that very thread. Instead the loss is told
// to the window's event sink (which tells the display host), and the thread that noticed makes no
// more window-system calls and waits to be ended with the process. On Wayland SDL itself notices,
// and sends a quit event. One window at a time is watched.
#pragma once

#include <SDL.h>

#include "platform/window/window_backend.h"

namespace textscreen::platform {

// From now on a loss of the display `window` is shown on is told to `sink`. Called by the
// thread that talks to the display once the window exists (SDL's own set-up is done by
// then and cannot put another handler in place), each time a window opens; `sink` must
// outlive the watch. A display other than X11 or Wayland, or one whose library cannot be
// found among those SDL loaded, is not watched.
void watch_display_loss(SDL_Window* window, WindowEventSink& sink);

// Ends the watch: called once the video has been quit, when the display is no longer
// talked to. A later X11 loss is Xlib's to handle as it was before the first watch.
void stop_watching_display_loss();

// Whether the watched connection is broken for good: asked when SDL sends a quit event,
// which it also sends when a Wayland compositor goes away. Thread of the display.
bool display_connection_broken();

// The end of a thread that saw its display go and has told the host: it never returns to
// the window system and waits, whatever it holds, for the process to end.
[[noreturn]] void wait_to_be_ended();

}  // namespace textscreen::platform
