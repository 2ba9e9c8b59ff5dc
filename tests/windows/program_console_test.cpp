// The programs in a Windows console, end to end: each runs in the test's own console, which
// the test types into as the keyboard would (each key's record as Windows makes it) and reads
// back cell by cell, and ends with its exit status. Their calculation screens open a window,
// which the test types into with the window's own messages. (A whole calculation in the
// console, where no window can open, runs in tests/windows/e2e.)
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/code_pages.h"
#include "platform/windows/windows_api.h"

namespace textscreen::testing {
namespace {

// What code page 852 bytes show on a console.
std::wstring shown_852(std::string_view bytes) {
  std::wstring text;
  for (char byte : bytes) {
    text += static_cast<wchar_t>(
        platform::code_point_of(platform::CodePage::cp852, static_cast<uint8_t>(byte)));
  }
  return text;
}

std::wstring program_beside_tests(const wchar_t* name) {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  return folder.substr(0, folder.find_last_of(L"\\/") + 1) + name;
}

class ProgramInConsoleTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    FreeConsole();
    ASSERT_TRUE(AllocConsole()) << "no console could be made (no display for it?)";
  }

  void SetUp() override {
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    input_ = CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited, OPEN_EXISTING, 0, nullptr);
    output_ =
        CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    &inherited, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(input_, INVALID_HANDLE_VALUE);
    ASSERT_NE(output_, INVALID_HANDLE_VALUE);
    FlushConsoleInputBuffer(input_);
  }

  void TearDown() override {
    if (process_.hProcess != nullptr) {
      TerminateProcess(process_.hProcess, 1);
      CloseHandle(process_.hProcess);
      CloseHandle(process_.hThread);
    }
    CloseHandle(input_);
    CloseHandle(output_);
  }

  // Starts the program in this console, its standard handles the console's.
  void start(const wchar_t* program) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input_;
    startup.hStdOutput = output_;
    startup.hStdError = output_;
    std::wstring command = L"\"" + program_beside_tests(program) + L"\"";
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                               &startup, &process_))
        << "cannot start the program: error " << GetLastError();
  }

  // A key down and up as the keyboard gives it: virtual key, scan code, the character.
  void press(WORD virtual_key, wchar_t character, DWORD state = 0) {
    INPUT_RECORD records[2] = {};
    for (int i = 0; i < 2; ++i) {
      KEY_EVENT_RECORD& key = records[i].Event.KeyEvent;
      records[i].EventType = KEY_EVENT;
      key.bKeyDown = i == 0 ? TRUE : FALSE;
      key.wRepeatCount = 1;
      key.wVirtualKeyCode = virtual_key;
      key.wVirtualScanCode = static_cast<WORD>(MapVirtualKeyW(virtual_key, MAPVK_VK_TO_VSC));
      key.uChar.UnicodeChar = character;
      key.dwControlKeyState = state;
    }
    DWORD written = 0;
    ASSERT_TRUE(WriteConsoleInputW(input_, records, 2, &written));
  }
  void type(std::wstring_view text) {
    for (wchar_t c : text) {
      if (c == L'\r') {
        press(VK_RETURN, L'\r');
        continue;
      }
      const SHORT placed = VkKeyScanW(c);
      press(LOBYTE(placed), c, (HIBYTE(placed) & 1) != 0 ? SHIFT_PRESSED : 0);
    }
  }

  // The text of the console's window, one line per row.
  std::wstring screen() {
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (!GetConsoleScreenBufferInfo(output_, &info)) return L"";
    const SHORT width = info.dwSize.X;
    const SHORT height = static_cast<SHORT>(info.srWindow.Bottom - info.srWindow.Top + 1);
    std::vector<CHAR_INFO> cells(static_cast<size_t>(width * height));
    SMALL_RECT area{0, info.srWindow.Top, static_cast<SHORT>(width - 1), info.srWindow.Bottom};
    if (!ReadConsoleOutputW(output_, cells.data(), {width, height}, {0, 0}, &area)) return L"";
    std::wstring text;
    for (SHORT row = 0; row < height; ++row) {
      for (SHORT column = 0; column < width; ++column) {
        text += cells[static_cast<size_t>(row * width + column)].Char.UnicodeChar;
      }
      text += L'\n';
    }
    return text;
  }
  // Waits (up to ten seconds) until the screen shows `text`.
  ::testing::AssertionResult shows(std::wstring_view text) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    std::wstring shown;
    while (std::chrono::steady_clock::now() < until) {
      shown = screen();
      if (shown.find(text) != std::wstring::npos) return ::testing::AssertionSuccess();
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::string narrow;
    for (wchar_t c : shown) narrow += c < 0x80 ? static_cast<char>(c) : '#';
    return ::testing::AssertionFailure() << "the screen never showed the text; it shows:\n"
                                         << narrow;
  }
  ::testing::AssertionResult ends_with_status(DWORD expected) {
    if (WaitForSingleObject(process_.hProcess, 10000) != WAIT_OBJECT_0) {
      return ::testing::AssertionFailure() << "the program did not end";
    }
    DWORD status = 0;
    GetExitCodeProcess(process_.hProcess, &status);
    if (status != expected) return ::testing::AssertionFailure() << "status " << status;
    return ::testing::AssertionSuccess();
  }

  HANDLE input_ = INVALID_HANDLE_VALUE;
  HANDLE output_ = INVALID_HANDLE_VALUE;
  PROCESS_INFORMATION process_{};
};

TEST_F(ProgramInConsoleTest, TripcostSaysFarewellAtEscAndEndsAtTheNextKey) {
  start(L"tripcost.exe");
  ASSERT_TRUE(shows(L"Kalkulator Tras"));
  press(VK_ESCAPE, L'\x1b');
  ASSERT_TRUE(shows(L"KONIEC PRACY"));
  EXPECT_TRUE(shows(L"press any key to koniec"));
  type(L"a");
  EXPECT_TRUE(ends_with_status(0));
}

TEST_F(ProgramInConsoleTest, LogvolumeSaysFarewellInCodePage852AndEndsByItself) {
  start(L"logvolume.exe");
  ASSERT_TRUE(shows(L"Pieniomat do Drewna Okraglego"));
  press(VK_ESCAPE, L'\x1b');
  EXPECT_TRUE(
      shows(shown_852("Zako\xE4"
                      "czy\x88"
                      "e\x98")));
  EXPECT_TRUE(ends_with_status(0));
}

// Enter opens the calculation screen in a window of the program's own, which takes the keys
// from then on; its close box gives the program a key and leaves the window standing.
TEST_F(ProgramInConsoleTest, TripcostCalculatesInItsWindowAndEndsThere) {
  start(L"tripcost.exe");
  ASSERT_TRUE(shows(L"Kalkulator Tras"));
  type(L"\r");
  HWND window = nullptr;
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (window == nullptr && std::chrono::steady_clock::now() < until) {
    window = FindWindowW(L"vxgfxclass_tripcost", nullptr);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ASSERT_NE(window, nullptr) << "no window opened";
  wchar_t title[64] = {};
  GetWindowTextW(window, title, 64);
  EXPECT_STREQ(title, L"tripcost");
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right - client.left, 640);
  EXPECT_EQ(client.bottom - client.top, 480);

  PostMessageW(window, WM_CLOSE, 0, 0);
  for (wchar_t c : std::wstring(L"100\r1\r4\r2\r7\r20\r\x1b")) PostMessageW(window, WM_CHAR, c, 1);
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_TRUE(IsWindow(window)) << "the close box closed the window";
  PostMessageW(window, WM_CHAR, L'a', 1);
  EXPECT_TRUE(ends_with_status(0));
}

}  // namespace
}  // namespace textscreen::testing
