// Start-up time of tripcost against plain_start_screen, a plain program that draws the same
// start screen: from fork until the screen's last text has arrived on an 80x25 pseudo-terminal.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// Both programs write this last, so its arrival means the whole start screen is there.
constexpr std::string_view LAST_TEXT = "Lub ESC gdy musisz zakonczyc swoj ulubiony programik !!!";
// A start that hangs fails its case instead of stalling the run.
constexpr auto START_TIMEOUT = std::chrono::seconds(5);
// Enough starts for a steady median; each tripcost start is tens of milliseconds.
constexpr int STARTS = 25;

// The programs are built into the same folder as this benchmark.
std::string program_path(const char* name) {
  return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / name).string();
}

// This process's environment with TERM=xterm-256color and without DISPLAY and WAYLAND_DISPLAY,
// so that no start depends on the desktop the benchmark happens to run under. Built once, before
// any fork, so the child only has to exec.
struct ChildEnvironment {
  std::vector<std::string> entries;
  std::vector<char*> pointers;

  ChildEnvironment() {
    for (char** entry = environ; *entry != nullptr; ++entry) {
      std::string_view e(*entry);
      if (e.starts_with("TERM=") || e.starts_with("DISPLAY=") || e.starts_with("WAYLAND_DISPLAY="))
        continue;
      entries.emplace_back(e);
    }
    entries.emplace_back("TERM=xterm-256color");
    for (std::string& e : entries) pointers.push_back(e.data());
    pointers.push_back(nullptr);
  }
};

const ChildEnvironment& child_environment() {
  static const ChildEnvironment environment;
  return environment;
}

// Kill rather than press Esc: tripcost's farewell waits for another key, and a kill ends both
// programs alike. Then read off whatever is left so the terminal is closed empty.
void end_child(pid_t pid, int master) {
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  fcntl(master, F_SETFL, O_NONBLOCK);
  char chunk[4096];
  while (read(master, chunk, sizeof chunk) > 0) {
  }
  close(master);
}

struct Child {
  pid_t pid = -1;
  int master = -1;
};

// Starts `path` on a new 80x25 pseudo-terminal.
std::optional<Child> start_child(const std::string& path) {
  char** envp = const_cast<char**>(child_environment().pointers.data());
  char* argv[] = {const_cast<char*>(path.c_str()), nullptr};
  winsize size{};
  size.ws_row = 25;
  size.ws_col = 80;
  Child child;
  child.pid = forkpty(&child.master, nullptr, nullptr, &size);
  if (child.pid < 0) return std::nullopt;
  if (child.pid == 0) {
    execve(path.c_str(), argv, envp);
    _exit(127);
  }
  return child;
}

// Reads what the child writes until `text` has arrived (its time then), or until `until`
// (nothing then; with `until` later than the text, it reads on and drops what comes).
std::optional<Clock::time_point> read_screen(const Child& child, Clock::time_point until,
                                             bool stop_at_text = true,
                                             std::string_view text = LAST_TEXT) {
  std::optional<Clock::time_point> shown;
  std::string arrived;
  char chunk[4096];
  for (;;) {
    auto left = std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now());
    if (left.count() <= 0) break;
    pollfd ready{child.master, POLLIN, 0};
    int polled = poll(&ready, 1, static_cast<int>(left.count()));
    if (polled < 0 && errno == EINTR) continue;
    if (polled <= 0) break;
    ssize_t n = read(child.master, chunk, sizeof chunk);
    if (n <= 0) break;  // the child is gone (EIO) without drawing its screen
    const Clock::time_point now = Clock::now();
    if (shown) continue;
    // The text may be split over two reads, so look in all that has arrived so far.
    arrived.append(chunk, static_cast<size_t>(n));
    if (arrived.find(text) != std::string::npos) {
      shown = now;
      if (stop_at_text) break;
    }
  }
  return shown;
}

// Starts `path` and returns the seconds from fork until LAST_TEXT has arrived, or nothing if
// it did not within START_TIMEOUT. Ending the child is not part of the time.
std::optional<double> time_start(const std::string& path) {
  const Clock::time_point start = Clock::now();
  std::optional<Child> child = start_child(path);
  if (!child) return std::nullopt;
  std::optional<Clock::time_point> shown = read_screen(*child, start + START_TIMEOUT);
  end_child(child->pid, child->master);
  if (!shown) return std::nullopt;
  return std::chrono::duration<double>(*shown - start).count();
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  size_t half = values.size() / 2;
  return values.size() % 2 ? values[half] : (values[half - 1] + values[half]) / 2;
}

// One start of `path` added to `times`; false, with the case failed, if it did not show up.
bool record_start(benchmark::State& state, const std::string& path, std::vector<double>* times) {
  std::optional<double> seconds = time_start(path);
  if (!seconds) {
    std::string message = path + ": no start screen within 5 s (built? runs?)";
    state.SkipWithError(message.c_str());
    return false;
  }
  if (times != nullptr) times->push_back(*seconds);
  return true;
}

void BM_StartupPlainProgram(benchmark::State& state) {
  const std::string plain = program_path("plain_start_screen");
  std::vector<double> times;
  // One start untimed, so the first timed one does not pay for reading the file from disk.
  if (!record_start(state, plain, nullptr)) return;
  for (auto _ : state) {
    if (!record_start(state, plain, &times)) break;
    state.SetIterationTime(times.back());
  }
  if (!times.empty()) state.counters["median_ms"] = median(times) * 1e3;
}
BENCHMARK(BM_StartupPlainProgram)
    ->UseManualTime()
    ->Iterations(STARTS)
    ->Unit(benchmark::kMillisecond);

// Each iteration starts tripcost and the plain program, in turns, so that a busy moment of the
// shared machine falls on both alike and their ratio stays fair. The iteration's time is
// tripcost's; the counters give both medians and the ratio tripcost / plain.
void BM_StartupTripcost(benchmark::State& state) {
  struct Program {
    std::string path;
    std::vector<double> times;
  };
  Program tripcost{program_path("tripcost"), {}};
  Program plain{program_path("plain_start_screen"), {}};
  if (!record_start(state, tripcost.path, nullptr) || !record_start(state, plain.path, nullptr))
    return;
  Program* order[] = {&tripcost, &plain};
  for (auto _ : state) {
    if (!record_start(state, order[0]->path, &order[0]->times) ||
        !record_start(state, order[1]->path, &order[1]->times))
      break;
    // Swap the order every time, so neither program always runs right after the other.
    std::swap(order[0], order[1]);
    state.SetIterationTime(tripcost.times.back());
  }
  if (tripcost.times.empty() || plain.times.empty()) return;
  double tripcost_median = median(tripcost.times);
  double plain_median = median(plain.times);
  state.counters["median_ms"] = tripcost_median * 1e3;
  state.counters["plain_median_ms"] = plain_median * 1e3;
  state.counters["ratio"] = tripcost_median / plain_median;
}
BENCHMARK(BM_StartupTripcost)->UseManualTime()->Iterations(STARTS)->Unit(benchmark::kMillisecond);

// The processor time tripcost takes while it waits on its start screen for a key, as a share
// of one core: its whole use (start-up included, so an upper bound) over IDLE_WINDOW.
void BM_IdleStartScreenCpu(benchmark::State& state) {
  constexpr auto IDLE_WINDOW = std::chrono::seconds(3);
  const std::string path = program_path("tripcost");
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    std::optional<Child> child = start_child(path);
    if (!child) return state.SkipWithError("no pseudo-terminal");
    bool shown = read_screen(*child, start + START_TIMEOUT + IDLE_WINDOW, false).has_value();
    kill(child->pid, SIGKILL);
    int status = 0;
    rusage used{};
    wait4(child->pid, &status, 0, &used);
    close(child->master);
    if (!shown) return state.SkipWithError("tripcost showed no start screen");
    double cpu = static_cast<double>(used.ru_utime.tv_sec + used.ru_stime.tv_sec) +
                 static_cast<double>(used.ru_utime.tv_usec + used.ru_stime.tv_usec) / 1e6;
    state.SetIterationTime(cpu);
    state.counters["cpu_percent_of_a_core"] =
        100.0 * cpu / std::chrono::duration<double>(Clock::now() - start).count();
  }
}
// From an Enter written to the terminal of a tripcost that has waited a second on its start
// screen (its polls idling their longest) to the first question of the trip screen arriving.
void BM_EnterToTripScreen(benchmark::State& state) {
  const std::string path = program_path("tripcost");
  std::vector<double> times;
  for (auto _ : state) {
    std::optional<Child> child = start_child(path);
    if (!child) return state.SkipWithError("no pseudo-terminal");
    bool ready = read_screen(*child, Clock::now() + START_TIMEOUT).has_value();
    read_screen(*child, Clock::now() + std::chrono::seconds(1), false);
    const Clock::time_point pressed = Clock::now();
    std::optional<Clock::time_point> shown;
    if (ready && write(child->master, "\r", 1) == 1) {
      shown = read_screen(*child, pressed + START_TIMEOUT, true, "PODAJ DLUGOSC");
    }
    end_child(child->pid, child->master);
    if (!shown) return state.SkipWithError("the Enter brought no trip screen");
    times.push_back(std::chrono::duration<double>(*shown - pressed).count());
    state.SetIterationTime(times.back());
  }
  state.counters["median_ms"] = median(times) * 1e3;
}
BENCHMARK(BM_EnterToTripScreen)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

BENCHMARK(BM_IdleStartScreenCpu)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
