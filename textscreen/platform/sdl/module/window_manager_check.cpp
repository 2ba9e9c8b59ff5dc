#include "platform/sdl/module/window_manager_check.h"

#include <SDL_syswm.h>
#include <dlfcn.h>

namespace textscreen::platform {
namespace {

#if defined(SDL_VIDEO_DRIVER_X11)
// SDL loads Xlib itself; its functions are taken from the library already loaded, so the
// module needs no link to it.
struct Xlib {
  using InternAtom = Atom (*)(Display*, const char*, Bool);
  using RootWindow = Window (*)(Display*);
  using GetWindowProperty = int (*)(Display*, Window, Atom, long, long, Bool, Atom, Atom*, int*,
                                    unsigned long*, unsigned long*, unsigned char**);
  using Free = int (*)(void*);

  Xlib() {
    void* library = dlopen("libX11.so.6", RTLD_NOW | RTLD_NOLOAD);
    if (library == nullptr) return;
    intern_atom = reinterpret_cast<InternAtom>(dlsym(library, "XInternAtom"));
    root_window = reinterpret_cast<RootWindow>(dlsym(library, "XDefaultRootWindow"));
    get_window_property = reinterpret_cast<GetWindowProperty>(dlsym(library, "XGetWindowProperty"));
    free = reinterpret_cast<Free>(dlsym(library, "XFree"));
  }
  bool usable() const { return intern_atom && root_window && get_window_property && free; }

  InternAtom intern_atom = nullptr;
  RootWindow root_window = nullptr;
  GetWindowProperty get_window_property = nullptr;
  Free free = nullptr;
};

// An EWMH window manager names its check window on the root window.
bool window_manager_runs(Display* display) {
  static const Xlib xlib;
  if (!xlib.usable()) return true;  // cannot tell: let SDL try
  const Atom check = xlib.intern_atom(display, "_NET_SUPPORTING_WM_CHECK", True);
  if (check == None) return false;
  Atom type = None;
  int format = 0;
  unsigned long count = 0;
  unsigned long after = 0;
  unsigned char* data = nullptr;
  const int status =
      xlib.get_window_property(display, xlib.root_window(display), check, 0, 1, False,
                               AnyPropertyType, &type, &format, &count, &after, &data);
  if (data != nullptr) xlib.free(data);
  return status == Success && count > 0;
}
#endif

}  // namespace

bool full_screen_possible(SDL_Window* window) {
#if defined(SDL_VIDEO_DRIVER_X11)
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window, &info) == SDL_TRUE && info.subsystem == SDL_SYSWM_X11) {
    return window_manager_runs(info.info.x11.display);
  }
#endif
  (void)window;
  return true;
}

}  // namespace textscreen::platform
