// What a window toolkit supplies to the window thread (window_thread_driver.h): one window,
// its events, and a surface the thread's converted lines are uploaded to and presented
// from. The thread owns the cycle, the frame lock and the event policy; a backend owns
// nothing but its window and the toolkit's state.
//
// Threads. Every operation but `wake` is called on the window thread, the one that called
// `create`. `wake` may be called from any thread at any time between `create` and
// `destroy`.
//
// Call order. create → (wait, pump, read_key_states, upload, present, set_title,
// move_pointer, switch_full_screen)* → destroy. `destroy` also follows a failed `create`.
// `refresh_rate` and `display_modes` are asked once, right after a `create` that succeeded.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/display_driver.h"
#include "platform/window/frame_converter.h"

namespace textscreen::platform {

// Where the window's events go: the event policy (window_policy.h). The backend calls it
// from `pump` only (and `display_lost` wherever the toolkit notices the loss), on the
// window thread, in the order the events happened.
class WindowEventSink {
 public:
  virtual ~WindowEventSink() = default;
  // Whether every key a key down may give, or every byte of typed text, would find room.
  // Asked before each key or text event is taken from the toolkit's queue: while false the
  // backend leaves that event, and every later one, where it is.
  virtual bool room_for_key() = 0;
  virtual bool room_for_text() = 0;
  // A key went down or repeats, as a console window would report it. `untexted` is the
  // character the key types that the toolkit sends no text event for (Enter, Esc,
  // Backspace, Tab, Ctrl+letter), 0 when none. True when the window must not act on the key
  // itself (F10 and Alt would open its menu, Alt+F4 would close it, Alt+Enter is the
  // window's own switch).
  virtual bool key_down(const WindowKeyEvent& key, uint8_t untexted) = 0;
  // A key went up: the held keys changed.
  virtual void key_up() = 0;
  // Typed text as code page 437 bytes.
  virtual void text_typed(std::string_view code_page_437) = 0;
  // The close box or the window manager's close.
  virtual void close_requested() = 0;
  // The window's own way to the whole screen (its maximise box) was used.
  virtual void switch_requested() = 0;
  // The window gained (true) or lost the keyboard.
  virtual void focus_changed(bool focused) = 0;
  // What the window showed is gone (exposed, resized, the surface reset): every line is to
  // be uploaded again.
  virtual void redraw_needed() = 0;
  // The pointer, in the window's logical pixels (the frame's width × height·line scale).
  virtual void pointer_moved(int32_t x, int32_t y) = 0;
  // Button bits: 1 left, 2 right, 4 middle.
  virtual void button_changed(int32_t button_bit, bool down) = 0;
  virtual void wheel_turned(int32_t steps) = 0;
  // The connection to the display is gone for good. May come from inside any toolkit call;
  // the sink tells the host, and the backend is called no more.
  virtual void display_lost() = 0;
};

// How a window is to be made.
struct WindowSettings {
  std::string title;
  int32_t width = 0;   // client area, in pixels: the frame's width
  int32_t height = 0;  // the frame's height times its line scale
  bool full_screen = false;
  // Whether the user may switch between window and full screen; a window that can switch
  // offers its maximise box for it where the window system has one.
  bool switchable = true;
};

// What `pump` left behind.
enum class PumpResult {
  drained,    // the toolkit's queue is empty
  keys_held,  // key or text events wait in the queue for room in the key ring
};

// A display mode: bits per pixel and width << 16 | height.
struct DisplayMode {
  int32_t depth = 0;
  int32_t size = 0;
};

// DisplayDriver::list_modes over `listed`: the sizes of the modes of `depth` bits per pixel,
// up to `capacity` of them written to `modes`, and how many there are.
inline int32_t list_display_modes(const std::vector<DisplayMode>& listed, int32_t depth,
                                  int32_t* modes, int32_t capacity) {
  int32_t count = 0;
  for (const DisplayMode& mode : listed) {
    if (mode.depth != depth) continue;
    if (count < capacity && modes != nullptr) modes[count] = mode.size;
    ++count;
  }
  return count;
}

class WindowBackend {
 public:
  using Deadline = std::chrono::steady_clock::time_point;

  virtual ~WindowBackend() = default;

  // Starts the toolkit, makes a centred, titled, visible window whose client area is
  // width × height (or the whole desktop), a surface of that size for the uploads, and
  // brings it to the front with the keyboard. A loss of the display is told to `sink` from
  // now on. Window thread; blocks while the window system answers. False when no window
  // can be had (no display named or reachable, the toolkit missing a part): the caller
  // still calls `destroy`, and nothing is left behind after it.
  virtual bool create(const WindowSettings& settings, WindowEventSink& sink) = 0;

  // Destroys the window and stops the toolkit; restores what `create` changed (screen
  // saver). Key and text events still queued are kept for the next window, which hands
  // them over before its own. Window thread; safe after a failed or no `create`.
  virtual void destroy() = 0;

  // Sleeps until the window has an event queued, `wake` was called (also before this call,
  // since the last `pump`), or `deadline` passed (Deadline::max(): no deadline). Window
  // thread, frame lock not held; blocks by design. Takes no event out.
  virtual void wait(Deadline deadline) = 0;

  // Makes the window thread's `wait` return. Any thread; does not block; cheap enough to
  // call once per change of the frame.
  virtual void wake() = 0;

  // Hands the queued events to `sink`, oldest first (after the keys an earlier window left
  // unread), stopping before the first key or text event the sink has no room for.
  // Window thread, frame lock held; does not block.
  virtual PumpResult pump(WindowEventSink& sink) = 0;

  // Fills the 128-entry key-state table (by set-1 scan code, 1 while held) from the
  // toolkit's keyboard state. Window thread, frame lock held; does not block.
  virtual void read_key_states(uint8_t* key_states) = 0;

  // Copies display lines [lines.first, lines.end) of `display` (ARGB8888, `pitch` pixels a
  // line) to the window's surface. Window thread, frame lock not held (the lines are the
  // thread's own); may block briefly.
  virtual void upload(const uint32_t* display, int32_t pitch, DisplayLines lines) = 0;

  // Shows the surface in the window, scaled to fit with its aspect kept. Window thread,
  // frame lock not held; may block until the display's next refresh.
  virtual void present() = 0;

  // Renames the window. Window thread; a failure leaves the old title.
  virtual void set_title(std::string_view title) = 0;

  // Moves the pointer to (x, y) in frame pixels and shows or hides it. Window thread.
  virtual void move_pointer(int32_t x, int32_t y, bool shown) = 0;

  // Between a window and the whole desktop. Window thread, frame lock not held; may block
  // while the window system switches. A switch that fails leaves the window as it was; the
  // surface's contents are not kept either way (the caller uploads every line again).
  virtual void switch_full_screen() = 0;

  // The display's refresh rate in hertz, 0 when unknown. Window thread, after `create`.
  virtual int32_t refresh_rate() = 0;

  // The modes of the display the window is on. Window thread, after `create`.
  virtual std::vector<DisplayMode> display_modes() = 0;
};

}  // namespace textscreen::platform
