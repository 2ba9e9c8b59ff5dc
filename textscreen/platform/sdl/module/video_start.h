// Where a driver's window may go, and starting SDL's video for it: both the window and the
// OpenGL driver start it the same way.
#pragma once

namespace textscreen::platform {

// Whether the process has a display to open a window on: an X11 or Wayland one, or a video
// driver named for SDL. Without, SDL could take a text console's screen (KMS/DRM).
bool display_named();

// Starts SDL's video on the calling thread, ready for a window: SDL takes none of the
// process's signals and does not quit when a window is closed. Where X11 alone is named SDL
// tries nothing else (it would also try Wayland, whose library writes into the user's
// terminal when that fails). A display that is named but cannot be reached makes SDL fall
// back to drivers that draw into memory, where a window shows nothing and can be typed into
// by nobody: that counts as a failure too (unless SDL_VIDEODRIVER names the driver). On
// failure the video is not left started.
bool start_video();

}  // namespace textscreen::platform
