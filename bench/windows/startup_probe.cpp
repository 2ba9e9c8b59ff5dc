// How long a program takes from its start to its start screen in a console: starts each
// program given in turn in this process's console (made for it, so run it where a console
// can be made: under Wine with a display), watches the console's cells until the title shows,
// ends the program, and prints the median and the spread of each program's times.
// usage: startup_probe.exe RUNS PROGRAM.exe...
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr wchar_t TITLE[] = L"Kalkulator Trasoka";

double seconds_now() {
  LARGE_INTEGER frequency;
  LARGE_INTEGER now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool screen_shows_title(HANDLE output) {
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (!GetConsoleScreenBufferInfo(output, &info)) return false;
  const SHORT width = info.dwSize.X;
  const SHORT height = static_cast<SHORT>(info.srWindow.Bottom - info.srWindow.Top + 1);
  std::vector<CHAR_INFO> cells(static_cast<size_t>(width * height));
  SMALL_RECT area{0, info.srWindow.Top, static_cast<SHORT>(width - 1), info.srWindow.Bottom};
  if (!ReadConsoleOutputW(output, cells.data(), {width, height}, {0, 0}, &area)) return false;
  std::wstring text;
  for (const CHAR_INFO& cell : cells) text += cell.Char.UnicodeChar;
  return text.find(TITLE) != std::wstring::npos;
}

// Seconds from the start of `program` until its title shows; negative when it never does.
double time_to_start_screen(const char* program, HANDLE output) {
  DWORD done = 0;
  const COORD top{0, 0};
  FillConsoleOutputCharacterW(output, L' ', 80 * 300, top, &done);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::string command = std::string("\"") + program + "\"";
  const double started = seconds_now();
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return -1;
  }
  double shown = -1;
  while (seconds_now() - started < 10) {
    if (screen_shows_title(output)) {
      shown = seconds_now() - started;
      break;
    }
    Sleep(0);
  }
  TerminateProcess(process.hProcess, 0);
  WaitForSingleObject(process.hProcess, INFINITE);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  return shown;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: startup_probe.exe RUNS PROGRAM.exe...\n");
    return 2;
  }
  const int runs = std::atoi(argv[1]);
  FreeConsole();
  if (!AllocConsole()) {
    std::fprintf(stderr, "startup_probe: no console could be made\n");
    return 1;
  }
  HANDLE output =
      CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, 0, nullptr);
  std::vector<std::vector<double>> times(static_cast<size_t>(argc - 2));
  // In turn, so that whatever else the machine does falls on each program alike.
  for (int run = 0; run < runs; ++run) {
    for (int p = 2; p < argc; ++p)
      times[static_cast<size_t>(p - 2)].push_back(time_to_start_screen(argv[p], output));
  }
  for (int p = 2; p < argc; ++p) {
    std::vector<double>& t = times[static_cast<size_t>(p - 2)];
    std::sort(t.begin(), t.end());
    std::printf("%-24s median %6.1f ms  (min %6.1f, max %6.1f, %d runs)\n", argv[p],
                t[t.size() / 2] * 1000, t.front() * 1000, t.back() * 1000, runs);
  }
  return 0;
}
