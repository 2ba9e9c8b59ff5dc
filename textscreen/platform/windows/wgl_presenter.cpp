#include "platform/windows/wgl_presenter.h"

namespace textscreen::platform {
namespace {

// Flags of a screen that ask for more than colour and depth.
constexpr int32_t WANT_STENCIL = 0x10;
constexpr int32_t WANT_ACCUMULATION = 0x20;

using CreateContext = HGLRC(WINAPI*)(HDC);
using MakeCurrent = BOOL(WINAPI*)(HDC, HGLRC);
using DeleteContext = BOOL(WINAPI*)(HGLRC);

template <typename Function>
Function function_of(HMODULE library, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

}  // namespace

bool WglPresenter::change_display_mode(int32_t width, int32_t height) {
  DEVMODEW mode{};
  mode.dmSize = sizeof mode;
  mode.dmPelsWidth = static_cast<DWORD>(width);
  mode.dmPelsHeight = static_cast<DWORD>(height);
  mode.dmBitsPerPel = static_cast<DWORD>(depth_);
  mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL;
  mode_changed_ = ChangeDisplaySettingsW(&mode, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL;
  return mode_changed_;
}

bool WglPresenter::open(HWND window, int32_t width, int32_t height, bool full_screen) {
  window_ = window;
  if (full_screen && !change_display_mode(width, height)) return false;
  library_ = LoadLibraryW(L"opengl32.dll");
  if (library_ == nullptr) return false;
  const auto create = function_of<CreateContext>(library_, "wglCreateContext");
  const auto make_current = function_of<MakeCurrent>(library_, "wglMakeCurrent");
  if (create == nullptr || make_current == nullptr) return false;
  // The window's class keeps one device context for the window's life: the context draws
  // into it until the window goes.
  dc_ = GetDC(window);
  if (dc_ == nullptr) return false;
  PIXELFORMATDESCRIPTOR format{};
  format.nSize = sizeof format;
  format.nVersion = 1;
  format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  format.iPixelType = PFD_TYPE_RGBA;
  format.cColorBits = static_cast<BYTE>(depth_);
  format.cDepthBits = 32;
  format.cStencilBits = (flags_ & WANT_STENCIL) != 0 ? 8 : 0;
  format.cAccumBits = (flags_ & WANT_ACCUMULATION) != 0 ? 32 : 0;
  format.iLayerType = PFD_MAIN_PLANE;
  const int chosen = ChoosePixelFormat(dc_, &format);
  if (chosen == 0 || !SetPixelFormat(dc_, chosen, &format)) return false;
  context_ = create(dc_);
  return context_ != nullptr && make_current(dc_, context_);
}

void WglPresenter::close() {
  if (library_ != nullptr && context_ != nullptr) {
    function_of<MakeCurrent>(library_, "wglMakeCurrent")(nullptr, nullptr);
    function_of<DeleteContext>(library_, "wglDeleteContext")(context_);
  }
  context_ = nullptr;
  if (dc_ != nullptr) ReleaseDC(window_, dc_);
  dc_ = nullptr;
  if (mode_changed_) ChangeDisplaySettingsW(nullptr, 0);
  mode_changed_ = false;
  if (library_ != nullptr) FreeLibrary(library_);
  library_ = nullptr;
  window_ = nullptr;
}

bool WglPresenter::present() {
  if (dc_ != nullptr) SwapBuffers(dc_);
  return true;
}

}  // namespace textscreen::platform
