#include "platform/sdl/sdl_module_loader.h"

#include <dlfcn.h>
#include <unistd.h>

#include <array>
#include <mutex>

namespace textscreen::platform {
namespace {

// The folder of the running program, empty when it cannot be read.
std::string program_folder() {
  std::array<char, 4096> path{};
  ssize_t length = readlink("/proc/self/exe", path.data(), path.size() - 1);
  if (length <= 0) return {};
  std::string text(path.data(), static_cast<size_t>(length));
  size_t slash = text.rfind('/');
  return slash == std::string::npos ? std::string{} : text.substr(0, slash);
}

}  // namespace

const SdlModule* load_sdl_module(const std::string& folder) {
  if (folder.empty()) return nullptr;
  std::string path = folder + "/" + SDL_MODULE_FILE;
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) return nullptr;
  auto entry = reinterpret_cast<const SdlModule* (*)()>(dlsym(handle, SDL_MODULE_ENTRY));
  const SdlModule* module = entry != nullptr ? entry() : nullptr;
  if (module == nullptr || module->version != SDL_MODULE_VERSION) {
    dlclose(handle);
    return nullptr;
  }
  return module;
}

const SdlModule* sdl_module() {
  static std::once_flag once;
  static const SdlModule* module = nullptr;
  std::call_once(once, [] {
    module = load_sdl_module(program_folder());
    if (module == nullptr) module = load_sdl_module(TEXTSCREEN_MODULE_DIR);
  });
  return module;
}

}  // namespace textscreen::platform
