// The display driver: how a graphics screen gets onto the display and how the display's
// keyboard gets back to the layer. The graphics half of the layer builds the frame in
// memory and drives a DisplayDriver; the platform provides the drivers (a window driver, an
// OpenGL driver, the Null driver) in the order they are tried.
//
// Threads. Two threads meet here. The program's thread calls every operation below. A
// driver that shows a window runs a window thread of its own, started by `open` and ended
// by `close`; that thread presents the frame and turns window events into keys through
// the DisplayHost, always holding the frame lock while it touches either.
//
// Call order. open → (lock … unlock, set_palette, wait_retrace, mouse, set_title, flip)* →
// close. `close` is also called after an `open` that failed, before the next driver is
// tried, so it must accept a driver that never opened. Nothing is called after `close`
// but a new `open`.
//
// Failure. Only `open` reports failure (non-zero), and a failed open leaves no window and
// no thread behind once `close` has run. The other operations cannot fail in a way the
// layer could act on: a driver that lacks one does nothing there.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/keys.h"

namespace textscreen::platform {

// Flags of a graphics screen, as the program passes them.
constexpr int32_t MODE_FULLSCREEN = 1;  // the whole display instead of a window
constexpr int32_t MODE_OPENGL = 2;      // the program draws with OpenGL
constexpr int32_t MODE_NO_SWITCH = 4;   // no switching between window and full screen

// The frame a driver presents: read by the window thread under the frame lock.
struct FrameView {
  const uint8_t* pixels = nullptr;  // the visible page: `height` lines of `pitch` bytes
  int32_t pitch = 0;
  int32_t width = 0;
  int32_t height = 0;
  // 1 to 8: one byte per pixel, an index into `shown_palette`; 16: red 5, green 6, blue 5
  // bits; 32: 0x00RRGGBB.
  int32_t depth = 0;
  int32_t line_scale = 1;  // each frame line shows on this many display lines
  // One flag per frame line: the presenter shows the lines whose flag is set, then clears
  // every flag.
  uint8_t* dirty = nullptr;
  const uint32_t* shown_palette = nullptr;  // 256 entries, red | green << 8 | blue << 16
};

// A key as the window reports it, before any translation.
struct WindowKeyEvent {
  uint16_t virtual_key = 0;
  uint16_t scan_code = 0;  // set-1 scan code
  bool extended = false;   // the cursor block, the keypad's Enter and /, right Ctrl and Alt
  uint16_t repeat_count = 1;
  uint32_t control_state = 0;  // ControlKeyState bits of the modifiers held
  uint8_t character = 0;       // the character in code page 437 the key gives, 0 when none
  // The character the key gives with no modifier held (lower-case letters), 0 when none: the
  // key translation tells a character key's own character from what a modifier made of it.
  uint8_t unshifted = 0;
};

// The graphics screen as the driver's window thread sees it. Implemented by the layer.
// Every call is made on the window thread with the frame lock held (the driver's own
// cycle holds it); none blocks.
class DisplayHost {
 public:
  virtual ~DisplayHost() = default;
  // The frame to present, valid until the lock is released.
  virtual FrameView frame() = 0;
  // The table of keys held, 128 entries by scan code, 1 while held; the driver refreshes it
  // each cycle while the window is active.
  virtual uint8_t* key_states() = 0;
  // A key went down (or repeats): the layer translates it and queues what it gives. True
  // when the window must not act on the key itself (F10 and Alt would open the window's
  // menu, Alt+F4 would close it).
  virtual bool key_pressed(const WindowKeyEvent& key) = 0;
  // Text typed into the window: one code page 437 byte, `repeat_count` times.
  virtual void character_typed(uint8_t character, uint16_t repeat_count) = 0;
  // How many more keys the layer can take before it would drop its oldest. The driver
  // leaves key and text events in the window system's queue while there is no room for what
  // they give, and takes them once the program has read keys: nothing typed is lost.
  virtual int32_t key_room() = 0;
  // The window's close box or the window manager's close: the window stays open.
  virtual void close_requested() = 0;
  // The window gained or lost the keyboard: no key is held any more, and every line is to
  // be shown again. (The mouse and the active flag are the driver's own: see get_mouse.)
  virtual void activation_changed(bool active) = 0;
  // The connection to the display is gone for good (the X server ended, the link to it
  // broke): the process is to end as a closed console ends it. Called once, by the thread
  // that talks to the display (the window thread; the OpenGL driver's is the program's
  // thread), with or without the frame lock held: the loss shows wherever the window system
  // is next called. Does not block, and may return before the process has ended. After it
  // the driver makes no more window-system calls, and its thread never returns to the
  // window system: it waits to be ended with the process.
  virtual void display_lost() = 0;
};

class DisplayDriver {
 public:
  virtual ~DisplayDriver() = default;

  // The name the driver is chosen by (compared without regard to case).
  virtual std::string_view name() const = 0;

  // Opens a display of `width` × `height` pixels (the frame's height times its line scale)
  // titled `title`, at `depth` bits per pixel and, where the display can choose, `refresh`
  // hertz (0: any). Program's thread; blocks until the window exists and shows the frame,
  // or until opening failed. A driver that cannot serve `flags` (full screen, OpenGL)
  // refuses at once. 0 on success; on failure non-zero, and the caller calls `close`.
  virtual int32_t open(std::string_view title, int32_t width, int32_t height, int32_t depth,
                       int32_t refresh, int32_t flags, DisplayHost& host) = 0;

  // Ends the window thread, waits for it and destroys the window; restores what opening
  // changed (screen saver, display mode). Program's thread; blocks for at most one cycle
  // of the window thread. Safe after a failed open and when called twice.
  virtual void close() = 0;

  // The frame lock, held by the window thread for each of its cycles and by the program's
  // thread for each drawing or key operation. Program's thread; `lock` blocks while the
  // window thread is in its cycle. Not re-entrant: the layer takes it once per outermost
  // operation. Drivers without a window thread do nothing.
  virtual void lock() = 0;
  virtual void unlock() = 0;

  // Sets entry `index` (0-255) of the display's palette; the window thread shows it at its
  // next cycle. Program's thread, frame lock held; does not block.
  virtual void set_palette(int32_t index, int32_t red, int32_t green, int32_t blue) = 0;

  // Waits for the display's next refresh: 1000 / refresh milliseconds, 16 when the refresh
  // rate is unknown. Program's thread, frame lock not held; blocks by design.
  virtual void wait_retrace() = 0;

  // The mouse as the window thread last saw it: position in frame pixels, wheel steps,
  // buttons. 0 on success, non-zero when the driver has no mouse (values then unchanged).
  // Program's thread, frame lock held; does not block.
  virtual int32_t get_mouse(int32_t& x, int32_t& y, int32_t& wheel, int32_t& buttons) = 0;
  // Moves the pointer to (x, y) in frame pixels and shows (`shown` non-zero) or hides it;
  // the window thread carries it out. 0 on success. Program's thread; does not block.
  virtual int32_t set_mouse(int32_t x, int32_t y, int32_t shown) = 0;

  // Renames the window. Program's thread; does not block (the window thread carries it out).
  virtual void set_title(std::string_view title) = 0;

  // The display modes of `depth` bits per pixel, each width << 16 | height, up to
  // `capacity` of them written to `modes`; returns how many the display has. Program's
  // thread; may block briefly while the display is asked.
  virtual int32_t list_modes(int32_t depth, int32_t* modes, int32_t capacity) = 0;

  // OpenGL driver only: refreshes the key states, handles window events and shows what the
  // program drew. Program's thread; may block until the display's next refresh.
  virtual void flip() = 0;

  // The program has taken a key from the layer, so the layer has room for one more: a window
  // thread that left key events in the window system's queue for want of room takes them
  // now. Program's thread, frame lock held; does not block. Drivers without a window
  // thread do nothing.
  virtual void keys_taken() {}

  // The program marked frame lines dirty: a window thread that sleeps while nothing
  // happens is to show them. Called by the layer for every drawing operation, so it only
  // notes the change; the driver's `unlock` wakes the thread. Program's thread, frame lock
  // held; does not block. Drivers without a window thread do nothing.
  virtual void frame_changed() {}
};

}  // namespace textscreen::platform
