#include "platform/terminal/terminal_restore.h"

#include <signal.h>
#include <unistd.h>

#include <cstring>

#include "platform/terminal/terminal_renderer.h"

namespace textscreen::platform {
namespace {

int saved_input_fd = -1;
int saved_output_fd = -1;
bool have_saved_mode = false;
termios saved_mode_copy{};
char reset_bytes[64];
size_t reset_length = 0;

constexpr int CRASH_SIGNALS[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};

void on_crash(int signal_number) {
  restore_terminal_now();
  // SA_RESETHAND put the default action back: raising again ends the process as it would
  // have ended.
  raise(signal_number);
}

}  // namespace

void arm_terminal_restore(int input_fd, const termios* saved_mode, int output_fd) {
  saved_input_fd = input_fd;
  saved_output_fd = output_fd;
  have_saved_mode = saved_mode != nullptr;
  if (saved_mode != nullptr) saved_mode_copy = *saved_mode;
  std::string reset = TerminalRenderer::restore_sequence();
  reset_length = std::min(reset.size(), sizeof reset_bytes);
  std::memcpy(reset_bytes, reset.data(), reset_length);

  struct sigaction action {};
  action.sa_handler = on_crash;
  action.sa_flags = SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  for (int s : CRASH_SIGNALS) sigaction(s, &action, nullptr);
}

void restore_terminal_now() {
  if (saved_output_fd >= 0 && reset_length > 0) {
    ssize_t ignored = write(saved_output_fd, reset_bytes, reset_length);
    (void)ignored;
  }
  if (have_saved_mode && saved_input_fd >= 0) {
    tcsetattr(saved_input_fd, TCSAFLUSH, &saved_mode_copy);
  }
}

}  // namespace textscreen::platform
