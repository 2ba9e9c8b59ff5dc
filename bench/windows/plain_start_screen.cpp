// The tripcost start screen drawn the way a plain Windows console program would: the console
// calls, no library. startup_probe starts it beside tripcost.exe as the baseline.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

int main() {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (!GetConsoleScreenBufferInfo(out, &info)) return 1;
  // Yellow on brown, as tripcost's colours 14 on 6; the clear fills the window with them.
  const WORD colours = 0x6E;
  SetConsoleTextAttribute(out, colours);
  const DWORD cells = static_cast<DWORD>(info.dwSize.X) *
                      static_cast<DWORD>(info.srWindow.Bottom - info.srWindow.Top + 1);
  const COORD top{0, info.srWindow.Top};
  DWORD done = 0;
  FillConsoleOutputCharacterA(out, ' ', cells, top, &done);
  FillConsoleOutputAttribute(out, colours, cells, top, &done);
  const char title[] = "Kalkulator Trasoka nacisnij enter jesli chcesz kontynuowac";
  const char hint[] = " Lub ESC gdy musisz zakonczyc swoj ulubiony programik !!!";
  SetConsoleCursorPosition(out, {0, static_cast<SHORT>(info.srWindow.Top + 2)});
  WriteConsoleA(out, title, sizeof title - 1, &done, nullptr);
  SetConsoleCursorPosition(out, {0, static_cast<SHORT>(info.srWindow.Top + 5)});
  WriteConsoleA(out, hint, sizeof hint - 1, &done, nullptr);
  // Stays, as tripcost does on its start screen, until a key comes or it is ended.
  WaitForSingleObject(GetStdHandle(STD_INPUT_HANDLE), INFINITE);
  return 0;
}
