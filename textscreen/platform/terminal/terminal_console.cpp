#include "platform/terminal/terminal_console.h"

#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "platform/keyboard_layout.h"
#include "platform/terminal/redirected_text.h"
#include "platform/terminal/terminal_restore.h"

namespace textscreen::platform {
namespace {

constexpr int16_t FALLBACK_COLUMNS = 80;
constexpr int16_t FALLBACK_ROWS = 25;

// The terminal's size as the console reports it: at least 2 x 2, since a console of one row
// or one column has no room to be a text screen (a terminal dragged that small still is
// one, and grows back), and never past what a buffer may hold.
CellPosition terminal_size(int fd) {
  winsize size{};
  if (ioctl(fd, TIOCGWINSZ, &size) != 0 || size.ws_col == 0 || size.ws_row == 0) {
    return {FALLBACK_COLUMNS, FALLBACK_ROWS};
  }
  constexpr int SMALLEST = 2;
  constexpr int WIDEST = 4096;
  const int columns = std::clamp<int>(size.ws_col, SMALLEST, WIDEST);
  const int rows = std::clamp<int>(size.ws_row, SMALLEST, CellBuffer::MAX_CELLS / columns);
  return {static_cast<int16_t>(columns), static_cast<int16_t>(rows)};
}

// The signals the signal thread waits for; blocked in every thread of the process.
sigset_t watched_signals() {
  sigset_t set;
  sigemptyset(&set);
  for (int s : {SIGINT, SIGQUIT, SIGHUP, SIGTERM, SIGTSTP, SIGCONT, SIGWINCH}) sigaddset(&set, s);
  return set;
}

uint32_t control_event_of(int signal_number) {
  switch (signal_number) {
    case SIGINT:
      return CONSOLE_CTRL_C;
    case SIGQUIT:
      return CONSOLE_CTRL_BREAK;
    case SIGHUP:
      return CONSOLE_CLOSE;
    default:
      return CONSOLE_SHUTDOWN;
  }
}

// Bytes to a descriptor, as many writes as it takes; false (the rest dropped) when it is
// closed.
bool write_all(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

TerminalConsole* exiting_console = nullptr;

void restore_at_exit() {
  if (exiting_console != nullptr) exiting_console->restore_terminal();
}

}  // namespace

TerminalConsole::TerminalConsole(int input_fd, int output_fd, Clock& clock)
    : input_fd_(input_fd),
      clock_(clock),
      output_fd_(output_fd),
      input_is_terminal_(isatty(input_fd) == 1),
      output_is_terminal_(isatty(output_fd) == 1),
      utf8_output_(!output_is_terminal_ && locale_is_utf8()),
      buffer_(terminal_size(output_fd).column, terminal_size(output_fd).row) {
  if (input_is_terminal_) tcgetattr(input_fd_, &saved_mode_);
  arm_terminal_restore(input_fd_, input_is_terminal_ ? &saved_mode_ : nullptr,
                       output_is_terminal_ ? output_fd_ : -1);
  decoder_.set_bracketed_paste(output_is_terminal_);
  // Only a terminal sends Alt as an ESC prefix; a script's ESC is the Esc key.
  decoder_.set_alt_prefix(input_is_terminal_);
  take_terminal();
  exiting_console = this;
  std::atexit(restore_at_exit);

  sigset_t set = watched_signals();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
  signal_thread_ = std::thread([this] { watch_signals(); });
  signal_thread_.detach();
  if (output_is_terminal_) pacing_thread_ = std::thread([this] { pace_output(); });
}

TerminalConsole::~TerminalConsole() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  flush_due_.notify_one();
  if (pacing_thread_.joinable()) pacing_thread_.join();
  restore_terminal();
}

void TerminalConsole::enter_raw_mode() {
  if (!input_is_terminal_) return;
  termios mode = saved_mode_;
  mode.c_iflag &= ~static_cast<tcflag_t>(ICRNL | INLCR | IGNCR | IXON | ISTRIP | BRKINT);
  mode.c_oflag &= ~static_cast<tcflag_t>(OPOST);
  mode.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | ECHONL | IEXTEN);
  if (processed_input_) {
    mode.c_lflag |= ISIG;
  } else {
    mode.c_lflag &= ~static_cast<tcflag_t>(ISIG);
  }
  mode.c_cflag |= CS8;
  // Reads return at once with whatever is there: the layer polls.
  mode.c_cc[VMIN] = 0;
  mode.c_cc[VTIME] = 0;
  tcsetattr(input_fd_, TCSANOW, &mode);
  raw_ = true;
}

void TerminalConsole::leave_raw_mode() {
  if (!raw_) return;
  tcsetattr(input_fd_, TCSAFLUSH, &saved_mode_);
  raw_ = false;
}

void TerminalConsole::restore_terminal() {
  std::unique_lock lock(mutex_, std::try_to_lock);
  if (output_is_terminal_) {
    if (lock.owns_lock()) flush_locked();
    send(TerminalRenderer::restore_sequence());
  }
  leave_raw_mode();
}

void TerminalConsole::send(const std::string& bytes) {
  if (write_all(output_fd_, bytes)) bytes_sent_ += bytes.size();
}

void TerminalConsole::flush_locked() {
  // A flush after nothing changed costs neither a write nor a look at the cells.
  if (!output_is_terminal_ || !changed_) return;
  changed_ = false;
  flush_owed_ = false;
  last_flush_ = std::chrono::steady_clock::now();
  std::string bytes = renderer_.render(buffer_);
  if (!bytes.empty()) send(bytes);
}

void TerminalConsole::flush() {
  std::lock_guard lock(mutex_);
  // Owed already: the pacing thread sends it, with whatever else changes meanwhile.
  if (!output_is_terminal_ || !changed_ || flush_owed_) return;
  if (std::chrono::steady_clock::now() - last_flush_ >= OUTPUT_FRAME) {
    flush_locked();
  } else {
    flush_owed_ = true;
    flush_due_.notify_one();
  }
}

void TerminalConsole::pace_output() {
  std::unique_lock lock(mutex_);
  while (!stopping_) {
    flush_due_.wait(lock, [this] { return flush_owed_ || stopping_; });
    // Until the frame's end, unless another flush pays what is owed first.
    flush_due_.wait_until(lock, last_flush_ + OUTPUT_FRAME,
                          [this] { return !flush_owed_ || stopping_; });
    if (flush_owed_ && !stopping_) flush_locked();
  }
}

void TerminalConsole::resize_to_terminal() {
  CellPosition size = terminal_size(output_fd_);
  if (!(size == buffer_.size())) {
    kept_cells_.resize(buffer_, size);
    // The window is the whole buffer on a terminal.
    buffer_.set_window(
        {0, 0, static_cast<int16_t>(size.column - 1), static_cast<int16_t>(size.row - 1)});
  }
  renderer_.invalidate();
  changed_ = true;
}

bool TerminalConsole::read_screen_buffer_info(ScreenBufferInfo& info) {
  return on_screen(false, [&] { info = buffer_.info(buffer_.size()); });
}

bool TerminalConsole::set_text_attribute(uint16_t attribute) {
  return on_screen(false, [&] { buffer_.set_attribute(attribute); });
}

bool TerminalConsole::fill_characters(uint8_t character, int32_t count, CellPosition start) {
  return on_screen(true, [&] { return buffer_.fill_characters(character, count, start); });
}

bool TerminalConsole::fill_attributes(uint16_t attribute, int32_t count, CellPosition start) {
  return on_screen(true, [&] { return buffer_.fill_attributes(attribute, count, start); });
}

bool TerminalConsole::write_cells(const ConsoleCell* cells, int32_t count, CellPosition start) {
  return on_screen(true, [&] { return buffer_.write_cells(cells, count, start); });
}

bool TerminalConsole::scroll_rectangle(const CellRect& source, const CellRect* clip,
                                       CellPosition destination, ConsoleCell fill) {
  if (!screen_ok()) return false;
  std::lock_guard lock(mutex_);
  if (!buffer_.scroll_rectangle(source, clip, destination, fill)) return false;
  changed_ = true;
  // A move of whole rows straight up is what the terminal can do itself.
  int16_t last_column = static_cast<int16_t>(buffer_.size().column - 1);
  bool full_width = source.left == 0 && source.right >= last_column && destination.column == 0 &&
                    (clip == nullptr || (clip->left == 0 && clip->right >= last_column));
  int rows = source.top - destination.row;
  if (full_width && rows > 0) {
    int top = clip != nullptr ? clip->top : std::max<int>(destination.row, 0);
    int bottom = clip != nullptr ? clip->bottom : source.bottom;
    bottom = std::min<int>(bottom, buffer_.size().row - 1);
    if (top >= 0 && top <= bottom) {
      renderer_.note_scroll(static_cast<int16_t>(top), static_cast<int16_t>(bottom),
                            static_cast<int16_t>(rows), fill);
    }
  }
  return true;
}

bool TerminalConsole::read_cursor_visible(bool& visible) {
  return on_screen(false, [&] { visible = buffer_.cursor_visible(); });
}

bool TerminalConsole::set_cursor_visible(bool visible) {
  return on_screen(true, [&] { buffer_.set_cursor_visible(visible); });
}

bool TerminalConsole::set_cursor_position(CellPosition position) {
  return on_screen(true, [&] { return buffer_.set_cursor(position); });
}

// A terminal's window is all of it and its size is the user's: only what it already has
// can be asked for.
bool TerminalConsole::set_window_rect(const CellRect& window) {
  return on_screen(false, [&] { return window == buffer_.window(); });
}

bool TerminalConsole::set_buffer_size(CellPosition size) {
  return on_screen(false, [&] { return size == buffer_.size(); });
}

CellPosition TerminalConsole::largest_window_size() {
  std::lock_guard lock(mutex_);
  return buffer_.size();
}

bool TerminalConsole::write_raw(const uint8_t* bytes, size_t count, size_t& written) {
  written = 0;
  if (utf8_output_) {
    // The characters as a whole, or nothing: a part of a character would be no text at all.
    const std::string text = utf8_of_code_page_852(bytes, count);
    if (!write_all(output_fd_, text)) return false;
    written = count;
    return true;
  }
  ssize_t n;
  do {
    n = write(output_fd_, bytes, count);
  } while (n < 0 && errno == EINTR);
  written = n > 0 ? static_cast<size_t>(n) : 0;
  return n >= 0;
}

void TerminalConsole::take_terminal() {
  enter_raw_mode();
  if (!output_is_terminal_) return;
  send(TerminalRenderer::takeover_sequence());
  resize_to_terminal();
}

bool TerminalConsole::fetch_input() {
  // Outside raw mode (stopped by Ctrl+Z) a read of the terminal would wait for a whole line.
  if (input_is_terminal_ && !raw_) return false;
  const Clock::Instant now = clock_.now();
  // A wait that has just seen the input stay quiet saves the look: an idle program polling
  // for keys makes one system call per poll, not two.
  const bool quiet = std::exchange(quiet_since_wait_, false);
  // Bytes are read only while no decoded key waits: what the layer has no room for yet stays
  // in the terminal's or the pipe's own buffer, and nothing is ever dropped here.
  while (!input_ended_ && !quiet && decoder_.empty()) {
    pollfd ready{input_fd_, POLLIN, 0};
    int polled = poll(&ready, 1, 0);
    if (polled < 0 && errno == EINTR) continue;
    if (polled <= 0) break;
    if ((ready.revents & POLLIN) == 0) {
      // A terminal that is gone ends the program as a closed terminal does, never leaving
      // it to spin; a pipe closed by its writer has simply ended.
      if (input_is_terminal_) {
        kill(getpid(), SIGHUP);
        return false;
      }
      input_ended_ = true;
      break;
    }
    uint8_t bytes[256];
    ssize_t n = read(input_fd_, bytes, sizeof bytes);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      // The end of a pipe or a file (a terminal in raw mode reads 0 only when empty).
      input_ended_ = !input_is_terminal_;
      break;
    }
    decoder_.feed(bytes, static_cast<size_t>(n), now);
  }
  // At the end of the input nothing more can complete a sequence: take it as it is.
  decoder_.settle(input_ended_ ? Clock::Instant::max() : now);
  return !decoder_.empty();
}

bool TerminalConsole::input_ended() {
  std::lock_guard lock(mutex_);
  return input_ended_ && decoder_.empty();
}

void TerminalConsole::wait_for_input(std::chrono::milliseconds timeout) {
  {
    std::lock_guard lock(mutex_);
    if (input_ended_ || !decoder_.empty()) return;
    // A lone Esc, or a sequence cut short, becomes keys once its time is up: look again soon.
    if (decoder_.holding()) timeout = std::min(timeout, std::chrono::milliseconds(1));
  }
  pollfd ready{input_fd_, POLLIN, 0};
  int polled = poll(&ready, 1, static_cast<int>(timeout.count()));
  std::lock_guard lock(mutex_);
  quiet_since_wait_ = polled == 0;
}

void TerminalConsole::close_console(std::string_view reason) {
  if (!reason.empty()) {
    std::lock_guard lock(close_reason_mutex_);
    if (close_reason_.empty()) close_reason_ = reason;
  }
  // The signal thread takes it from here, as it takes a hang-up of the terminal.
  kill(getpid(), SIGHUP);
}

bool TerminalConsole::peek_input(InputEvent& event) {
  std::lock_guard lock(mutex_);
  if (!fetch_input()) return false;
  event = InputEvent{InputEventType::key, decoder_.front()};
  return true;
}

bool TerminalConsole::read_input(InputEvent& event) {
  std::lock_guard lock(mutex_);
  if (!fetch_input()) return false;
  event = InputEvent{InputEventType::key, decoder_.front()};
  decoder_.pop();
  return true;
}

bool TerminalConsole::read_input_mode(uint32_t& mode) {
  if (!input_is_terminal_) return false;
  mode = processed_input_ ? INPUT_MODE_PROCESSED : 0;
  return true;
}

bool TerminalConsole::set_input_mode(uint32_t mode) {
  if (!input_is_terminal_) return false;
  std::lock_guard lock(mutex_);
  processed_input_ = (mode & INPUT_MODE_PROCESSED) != 0;
  enter_raw_mode();
  return true;
}

bool TerminalConsole::set_control_handler(ControlHandler handler, bool add) {
  if (add) {
    handler_ = handler;
  } else {
    ControlHandler expected = handler;
    handler_.compare_exchange_strong(expected, nullptr);
  }
  return true;
}

uint8_t TerminalConsole::virtual_key_to_char(uint16_t virtual_key) {
  return unshifted_character(virtual_key);
}

void TerminalConsole::ring_bell() {
  if (!output_is_terminal_) return;
  // After what was printed before it.
  std::lock_guard lock(mutex_);
  flush_locked();
  send("\a");
}

void TerminalConsole::watch_signals() {
  sigset_t set = watched_signals();
  for (;;) {
    int signal_number = 0;
    if (sigwait(&set, &signal_number) != 0) continue;
    switch (signal_number) {
      case SIGWINCH: {
        std::lock_guard lock(mutex_);
        if (output_is_terminal_) {
          resize_to_terminal();
          flush_locked();
        }
        break;
      }
      case SIGTSTP:
        suspend();
        break;
      case SIGCONT: {
        // Continued without our own stop (someone else stopped us): take the terminal again.
        std::lock_guard lock(mutex_);
        take_terminal();
        flush_locked();
        break;
      }
      default:
        on_control_signal(signal_number);
        break;
    }
  }
}

void TerminalConsole::suspend() {
  {
    std::lock_guard lock(mutex_);
    flush_locked();
    if (output_is_terminal_) send(TerminalRenderer::restore_sequence());
    leave_raw_mode();
  }
  // SIGSTOP cannot be blocked. The stop may land after kill returns, so the continue is
  // waited for before the terminal is taken again.
  kill(getpid(), SIGSTOP);
  sigset_t continued;
  sigemptyset(&continued);
  sigaddset(&continued, SIGCONT);
  int signal_number = 0;
  sigwait(&continued, &signal_number);
  std::lock_guard lock(mutex_);
  take_terminal();
  flush_locked();
}

void TerminalConsole::on_control_signal(int signal_number) {
  ControlHandler handler = handler_.load();
  if (handler != nullptr) handler(control_event_of(signal_number));
  // Handled or not, the process ends as the signal would end it, with the terminal given
  // back; a handled close has queued its key first. Why it closed is said only then, on the
  // user's own screen: said on the program's, it would go with it.
  restore_terminal();
  std::string reason;
  {
    std::lock_guard lock(close_reason_mutex_);
    reason = close_reason_;
  }
  if (!reason.empty()) write_all(STDERR_FILENO, reason + '\n');
  signal(signal_number, SIG_DFL);
  sigset_t only;
  sigemptyset(&only);
  sigaddset(&only, signal_number);
  pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
  raise(signal_number);
  _exit(128 + signal_number);
}

}  // namespace textscreen::platform
