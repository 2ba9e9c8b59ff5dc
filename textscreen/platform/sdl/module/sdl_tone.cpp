#include "platform/sdl/module/sdl_tone.h"

#include <SDL.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <thread>
#include <vector>

namespace textscreen::platform {
namespace {

constexpr int SAMPLE_RATE = 44100;
constexpr int16_t AMPLITUDE = 6000;

// Audio back ends write their complaints to standard error, which would land on the text
// screen; they are silenced while the output is opened.
class QuietStandardError {
 public:
  QuietStandardError() : saved_(dup(STDERR_FILENO)) {
    int null_fd = open("/dev/null", O_WRONLY);
    if (null_fd >= 0) {
      dup2(null_fd, STDERR_FILENO);
      close(null_fd);
    }
  }
  ~QuietStandardError() {
    if (saved_ >= 0) {
      dup2(saved_, STDERR_FILENO);
      close(saved_);
    }
  }
  QuietStandardError(const QuietStandardError&) = delete;
  QuietStandardError& operator=(const QuietStandardError&) = delete;

 private:
  int saved_;
};

SDL_AudioDeviceID open_output(SDL_AudioSpec& have) {
  static bool unavailable = false;
  if (unavailable) return 0;
  QuietStandardError quiet;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    unavailable = true;
    return 0;
  }
  SDL_AudioSpec want{};
  want.freq = SAMPLE_RATE;
  want.format = AUDIO_S16SYS;
  want.channels = 1;
  want.samples = 1024;
  SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (device == 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    unavailable = true;
  }
  return device;
}

}  // namespace

bool play_sdl_tone(int frequency, int milliseconds) {
  auto start = std::chrono::steady_clock::now();
  SDL_AudioSpec have{};
  SDL_AudioDeviceID device = open_output(have);
  if (device == 0) return false;
  int samples = have.freq * milliseconds / 1000;
  std::vector<int16_t> wave(static_cast<size_t>(samples));
  int half_period = std::max(1, have.freq / (2 * frequency));
  for (int i = 0; i < samples; ++i) wave[i] = (i / half_period) % 2 == 0 ? AMPLITUDE : -AMPLITUDE;
  SDL_QueueAudio(device, wave.data(), static_cast<Uint32>(wave.size() * sizeof(int16_t)));
  SDL_PauseAudioDevice(device, 0);
  auto end = start + std::chrono::milliseconds(milliseconds);
  while (SDL_GetQueuedAudioSize(device) > 0 &&
         std::chrono::steady_clock::now() < end + std::chrono::milliseconds(100)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  std::this_thread::sleep_until(end);
  SDL_CloseAudioDevice(device);
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  return true;
}

}  // namespace textscreen::platform
