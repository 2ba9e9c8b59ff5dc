#include "platform/sdl/module/display_loss.h"

#include <SDL_syswm.h>
#include <dlfcn.h>
#include <unistd.h>

#include <atomic>
#include <cstring>

namespace textscreen::platform {
namespace {

// Xlib's IO error handler and the function that sets it, with the display as an opaque
// pointer: the module links no X11 library, and leans on no X11 header for these.
using IoErrorHandler = int (*)(void* display);
using SetIoErrorHandler = IoErrorHandler (*)(IoErrorHandler handler);
// libwayland-client's question of its connection: non-zero once it failed for good.
using DisplayError = int (*)(void* display);

std::atomic<WindowEventSink*> watching{nullptr};
// The handler before the first watch (Xlib's own, or SDL's): it takes a loss no one watches.
std::atomic<IoErrorHandler> earlier_handler{nullptr};
// The watched Wayland connection and its question; null on X11.
std::atomic<void*> wayland_display{nullptr};
DisplayError wayland_display_error = nullptr;

// A function of a library SDL has loaded; null when SDL has not loaded it.
void* loaded_function(const char* library_name, const char* function_name) {
  void* library = dlopen(library_name, RTLD_NOLOAD | RTLD_LAZY);
  if (library == nullptr) return nullptr;
  void* function = dlsym(library, function_name);
  // SDL's own reference keeps the library loaded.
  dlclose(library);
  return function;
}

// Xlib ends the process as soon as this returns, so it returns only when no window of ours
// is watched.
int on_broken_connection(void* display) {
  WindowEventSink* sink = watching.exchange(nullptr);
  if (sink == nullptr) {
    const IoErrorHandler earlier = earlier_handler.load();
    return earlier != nullptr ? earlier(display) : 0;
  }
  sink->display_lost();
  wait_to_be_ended();
}

void watch_x11() {
  const auto set_handler =
      reinterpret_cast<SetIoErrorHandler>(loaded_function("libX11.so.6", "XSetIOErrorHandler"));
  if (set_handler == nullptr) return;
  const IoErrorHandler before = set_handler(on_broken_connection);
  if (before != on_broken_connection) earlier_handler = before;
}

void watch_wayland(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_WAYLAND) {
    return;
  }
  wayland_display_error = reinterpret_cast<DisplayError>(
      loaded_function("libwayland-client.so.0", "wl_display_get_error"));
  if (wayland_display_error != nullptr) wayland_display = info.info.wl.display;
}

}  // namespace

void watch_display_loss(SDL_Window* window, WindowEventSink& sink) {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver == nullptr) return;
  if (std::strcmp(driver, "x11") == 0) {
    watching = &sink;
    watch_x11();
  } else if (std::strcmp(driver, "wayland") == 0) {
    watch_wayland(window);
  }
}

void stop_watching_display_loss() {
  watching = nullptr;
  wayland_display = nullptr;
}

bool display_connection_broken() {
  void* display = wayland_display.load();
  return display != nullptr && wayland_display_error(display) != 0;
}

void wait_to_be_ended() {
  // The process ends on the console's signal thread. A signal this thread takes itself
  // only puts it back to sleep.
  for (;;) pause();
}

}  // namespace textscreen::platform
