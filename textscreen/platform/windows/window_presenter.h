// What puts the frame into a Windows window: the part of a window driver that differs
// between GDI, DirectDraw and OpenGL. Win32WindowBackend owns the window, its messages and the
// window thread's waits; a presenter owns the surfaces the lines are uploaded to and the
// way they reach the screen.
//
// Threads. Every operation is called on the thread that made the window (the window thread;
// the OpenGL driver's is the program's thread), after the window exists and
// before it is destroyed (`open` first, `close` last; `close` also follows a failed `open`).
#pragma once

#include <cstdint>

#include "platform/window/frame_converter.h"
#include "platform/windows/windows_api.h"

namespace textscreen::platform {

class WindowPresenter {
 public:
  virtual ~WindowPresenter() = default;

  // What the window's class is to have besides redrawing on a change of size (CS_OWNDC for a
  // presenter that keeps the window's device context).
  virtual UINT extra_class_style() const { return 0; }

  // Whether `open` can be asked for the whole screen.
  virtual bool can_fill_screen() const = 0;

  // Makes the surfaces for a width × height frame shown in `window` (a popup covering the
  // screen when `full_screen`, which may change the display's mode). Blocks while the
  // display answers. False when they cannot be had (the library missing, the mode refused):
  // the window then is given up and the next driver is tried.
  virtual bool open(HWND window, int32_t width, int32_t height, bool full_screen) = 0;
  // Releases the surfaces and gives the display its mode back. Safe after a failed `open`.
  virtual void close() = 0;

  // Copies display lines [lines.first, lines.end) of `display` (ARGB8888, `pitch` pixels a
  // line) to the surface. May block briefly.
  virtual void upload(const uint32_t* display, int32_t pitch, DisplayLines lines) = 0;
  // Shows what was uploaded since the last present. False when the surfaces were lost and
  // restored: every line is to be uploaded again.
  virtual bool present() = 0;
  // The window was uncovered: shows the whole surface again (on the window's paint).
  virtual void repaint(HDC dc) = 0;

  // The keys held, 128 entries by set-1 scan code; false when the presenter keeps no
  // keyboard of its own and the window's keyboard state is to be read instead.
  virtual bool read_key_states(uint8_t* key_states) = 0;
};

}  // namespace textscreen::platform
