// The console device on a real Windows console: each test works on a screen buffer of its
// own in the process's console and reads the cells back with the console's own calls.
#include "platform/windows/win32_console.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "console/layer_reset.h"
#include "platform/code_pages.h"
#include "platform/memory/memory_console.h"
#include "platform/system_clock.h"
#include "textscreen/textscreen.h"

namespace textscreen::testing {
namespace {

using platform::CellPosition;
using platform::CellRect;
using platform::CodePage;
using platform::ConsoleCell;
using platform::InputEvent;
using platform::Win32Console;

constexpr SHORT COLUMNS = 20;
constexpr SHORT ROWS = 8;

HANDLE open_console_input() {
  return CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                     nullptr, OPEN_EXISTING, 0, nullptr);
}

// A console of the test process's own (the tests run with no console, or one that is not
// theirs to scribble on), and a fresh COLUMNS x ROWS screen buffer in it for each test.
class Win32ConsoleTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    FreeConsole();
    ASSERT_TRUE(AllocConsole()) << "no console could be made (no display for it?)";
  }

  void SetUp() override {
    output_ =
        CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, CONSOLE_TEXTMODE_BUFFER, nullptr);
    ASSERT_NE(output_, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(SetConsoleActiveScreenBuffer(output_));
    const SMALL_RECT window{0, 0, COLUMNS - 1, ROWS - 1};
    ASSERT_TRUE(SetConsoleWindowInfo(output_, TRUE, &window));
    ASSERT_TRUE(SetConsoleScreenBufferSize(output_, {COLUMNS, ROWS}));
    input_ = open_console_input();
    ASSERT_NE(input_, INVALID_HANDLE_VALUE);
    FlushConsoleInputBuffer(input_);
    console_ = std::make_unique<Win32Console>(input_, output_);
  }

  void TearDown() override {
    console_.reset();
    CloseHandle(output_);
    CloseHandle(input_);
  }

  CHAR_INFO cell(SHORT column, SHORT row) {
    CHAR_INFO info{};
    SMALL_RECT area{column, row, column, row};
    EXPECT_TRUE(ReadConsoleOutputW(output_, &info, {1, 1}, {0, 0}, &area));
    return info;
  }
  std::vector<CHAR_INFO> all_cells() {
    std::vector<CHAR_INFO> cells(COLUMNS * ROWS);
    SMALL_RECT area{0, 0, COLUMNS - 1, ROWS - 1};
    EXPECT_TRUE(ReadConsoleOutputW(output_, cells.data(), {COLUMNS, ROWS}, {0, 0}, &area));
    return cells;
  }
  void put_key(WCHAR character, WORD virtual_key, DWORD state = 0) {
    INPUT_RECORD record{};
    record.EventType = KEY_EVENT;
    record.Event.KeyEvent.bKeyDown = TRUE;
    record.Event.KeyEvent.wRepeatCount = 1;
    record.Event.KeyEvent.wVirtualKeyCode = virtual_key;
    record.Event.KeyEvent.wVirtualScanCode = static_cast<WORD>(MapVirtualKeyW(virtual_key, 0));
    record.Event.KeyEvent.uChar.UnicodeChar = character;
    record.Event.KeyEvent.dwControlKeyState = state;
    DWORD written = 0;
    ASSERT_TRUE(WriteConsoleInputW(input_, &record, 1, &written));
  }

  HANDLE output_ = INVALID_HANDLE_VALUE;
  HANDLE input_ = INVALID_HANDLE_VALUE;
  std::unique_ptr<Win32Console> console_;
};

TEST_F(Win32ConsoleTest, CellsShowTheirCodePage852CharactersWhateverThePageOfTheConsole) {
  // ą, Ł and a smiling face (byte 1) in three colours, then a row end that cuts the write.
  const ConsoleCell cells[] = {{0xA5, 0x1E}, {0x9D, 0x07}, {0x01, 0x4F}};
  ASSERT_TRUE(console_->write_cells(cells, 3, {2, 1}));
  EXPECT_EQ(cell(2, 1).Char.UnicodeChar, 0x0105);
  EXPECT_EQ(cell(2, 1).Attributes, 0x1E);
  EXPECT_EQ(cell(3, 1).Char.UnicodeChar, 0x0141);
  EXPECT_EQ(cell(4, 1).Char.UnicodeChar, 0x263A);
  EXPECT_EQ(cell(4, 1).Attributes, 0x4F);

  ASSERT_TRUE(console_->write_cells(cells, 3, {COLUMNS - 1, 2}));
  EXPECT_EQ(cell(COLUMNS - 1, 2).Char.UnicodeChar, 0x0105);
  EXPECT_EQ(cell(0, 3).Char.UnicodeChar, L' ');  // nothing ran on into the next row

  EXPECT_FALSE(console_->write_cells(cells, 3, {-1, 0}));
  EXPECT_FALSE(console_->write_cells(cells, 3, {0, ROWS}));
  EXPECT_EQ(cell(0, 0).Char.UnicodeChar, L' ');
}

TEST_F(Win32ConsoleTest, FillsRunIntoTheNextRowsAndStopAtTheEndOfTheBuffer) {
  ASSERT_TRUE(console_->fill_characters(0xBE, COLUMNS + 2, {COLUMNS - 1, 0}));  // ż
  ASSERT_TRUE(console_->fill_attributes(0x2A, COLUMNS + 2, {COLUMNS - 1, 0}));
  EXPECT_EQ(cell(COLUMNS - 1, 0).Char.UnicodeChar, 0x017C);
  EXPECT_EQ(cell(COLUMNS - 1, 1).Attributes, 0x2A);
  EXPECT_EQ(cell(COLUMNS - 1, 1).Char.UnicodeChar, 0x017C);
  EXPECT_EQ(cell(0, 2).Char.UnicodeChar, 0x017C);
  EXPECT_EQ(cell(1, 2).Char.UnicodeChar, L' ');

  ASSERT_TRUE(console_->fill_characters('x', 1000, {0, ROWS - 1}));
  EXPECT_EQ(cell(COLUMNS - 1, ROWS - 1).Char.UnicodeChar, L'x');

  // A start outside the buffer changes nothing, wherever a console would run on from it.
  EXPECT_FALSE(console_->fill_characters('#', 5, {COLUMNS, 3}));
  EXPECT_FALSE(console_->fill_attributes(0x70, 5, {-1, 4}));
  EXPECT_EQ(cell(0, 4).Char.UnicodeChar, L' ');
  EXPECT_NE(cell(COLUMNS - 1, 3).Attributes, 0x70);
  EXPECT_TRUE(console_->fill_characters('#', 0, {0, 0}));
  EXPECT_EQ(cell(0, 0).Char.UnicodeChar, L' ');
}

// Scrolls of every shape, reaching past the buffer and clipped anywhere, give the cells the
// in-memory console gives: the rule the whole layer is tested against.
TEST_F(Win32ConsoleTest, ScrollsMoveAndFillExactlyAsTheMemoryConsole) {
  std::mt19937 random(20261207);
  auto between = [&](int low, int high) {
    return static_cast<SHORT>(std::uniform_int_distribution<int>(low, high)(random));
  };
  for (int round = 0; round < 150; ++round) {
    platform::MemoryConsole expected(COLUMNS, ROWS);
    std::vector<ConsoleCell> row(COLUMNS);
    for (SHORT r = 0; r < ROWS; ++r) {
      for (auto& c : row)
        c = {static_cast<uint8_t>(between('A', 'z')), static_cast<uint16_t>(between(1, 0xFF))};
      ASSERT_TRUE(console_->write_cells(row.data(), COLUMNS, {0, r}));
      expected.write_cells(row.data(), COLUMNS, {0, r});
    }
    CellRect source{between(-4, COLUMNS + 2), between(-3, ROWS + 1), 0, 0};
    source.right = static_cast<SHORT>(source.left + between(-1, COLUMNS));
    source.bottom = static_cast<SHORT>(source.top + between(-1, ROWS));
    CellRect clip{between(-4, COLUMNS), between(-3, ROWS), 0, 0};
    clip.right = static_cast<SHORT>(clip.left + between(-1, COLUMNS + 4));
    clip.bottom = static_cast<SHORT>(clip.top + between(-1, ROWS + 3));
    const bool clipped = between(0, 2) != 0;
    const CellPosition destination{between(-6, COLUMNS + 2), between(-4, ROWS + 2)};
    const ConsoleCell fill{'.', 0x5C};
    SCOPED_TRACE(::testing::Message()
                 << "round " << round << ": source " << source.left << ',' << source.top << '-'
                 << source.right << ',' << source.bottom << " clip " << clipped << ' ' << clip.left
                 << ',' << clip.top << '-' << clip.right << ',' << clip.bottom << " to "
                 << destination.column << ',' << destination.row);
    const bool moved =
        console_->scroll_rectangle(source, clipped ? &clip : nullptr, destination, fill);
    EXPECT_EQ(moved,
              expected.scroll_rectangle(source, clipped ? &clip : nullptr, destination, fill));
    const std::vector<CHAR_INFO> cells = all_cells();
    for (SHORT r = 0; r < ROWS; ++r) {
      for (SHORT c = 0; c < COLUMNS; ++c) {
        const ConsoleCell want = expected.buffer().at(c, r);
        const CHAR_INFO& got = cells[static_cast<size_t>(r * COLUMNS + c)];
        ASSERT_EQ(got.Char.UnicodeChar, code_point_of(CodePage::cp852, want.character))
            << "cell " << c << ',' << r;
        ASSERT_EQ(got.Attributes, want.attribute) << "cell " << c << ',' << r;
      }
    }
  }
}

TEST_F(Win32ConsoleTest, CursorWindowAndBufferAreTheConsoles) {
  ASSERT_TRUE(console_->set_cursor_position({5, 3}));
  ASSERT_TRUE(console_->set_cursor_visible(false));
  bool visible = true;
  ASSERT_TRUE(console_->read_cursor_visible(visible));
  EXPECT_FALSE(visible);
  EXPECT_FALSE(console_->set_cursor_position({COLUMNS, 0}));
  ASSERT_TRUE(console_->set_text_attribute(0x1F));

  platform::ScreenBufferInfo info;
  ASSERT_TRUE(console_->read_screen_buffer_info(info));
  EXPECT_EQ(info.size, (CellPosition{COLUMNS, ROWS}));
  EXPECT_EQ(info.cursor, (CellPosition{5, 3}));
  EXPECT_EQ(info.attribute, 0x1F);
  EXPECT_EQ(info.window, (CellRect{0, 0, COLUMNS - 1, ROWS - 1}));

  // A console's size is its own to choose: the buffer grows, then the window follows it.
  ASSERT_TRUE(console_->set_buffer_size({30, 12}));
  ASSERT_TRUE(console_->set_window_rect({0, 0, 29, 11}));
  ASSERT_TRUE(console_->read_screen_buffer_info(info));
  EXPECT_EQ(info.size, (CellPosition{30, 12}));
  EXPECT_EQ(info.window, (CellRect{0, 0, 29, 11}));
  EXPECT_GT(console_->largest_window_size().column, 0);
  EXPECT_TRUE(console_->set_active_buffer());
}

TEST_F(Win32ConsoleTest, TypedKeysComeAsCodePage852AndPeekingLeavesThemWaiting) {
  put_key(L'\x0142', 'L');                                    // ł
  put_key(0, VK_UP, ENHANCED_KEY);                            // no character
  put_key(L'\x20AC', 'E', RIGHT_ALT_PRESSED);                 // € is not in 852
  console_->wait_for_input(std::chrono::milliseconds(5000));  // returns at once: input waits

  InputEvent event;
  ASSERT_TRUE(console_->peek_input(event));
  ASSERT_TRUE(console_->read_input(event));
  EXPECT_EQ(event.type, platform::InputEventType::key);
  EXPECT_EQ(event.key.character, 0x88);
  EXPECT_EQ(event.key.virtual_key, 'L');
  EXPECT_TRUE(event.key.key_down);
  ASSERT_TRUE(console_->read_input(event));
  EXPECT_EQ(event.key.character, 0);
  EXPECT_EQ(event.key.virtual_key, VK_UP);
  EXPECT_NE(event.key.control_state & platform::KEY_STATE_ENHANCED, 0u);
  ASSERT_TRUE(console_->read_input(event));
  EXPECT_EQ(event.key.character, '?');
  EXPECT_FALSE(console_->read_input(event));
  EXPECT_FALSE(console_->input_ended());

  uint32_t mode = 0;
  ASSERT_TRUE(console_->read_input_mode(mode));
  ASSERT_TRUE(console_->set_input_mode(mode | platform::INPUT_MODE_PROCESSED));
  ASSERT_TRUE(console_->read_input_mode(mode));
  EXPECT_NE(mode & platform::INPUT_MODE_PROCESSED, 0u);
}

// The layer on a real console: a console's size is its own to choose, so the screen takes
// the size asked for, and printing past the last row scrolls the view.
TEST_F(Win32ConsoleTest, TheScreenTakesTheSizeAskedForAndPrintingScrollsIt) {
  platform::SystemClock clock;
  detail::reset_layer({console_.get(), &clock, nullptr, {}});
  EXPECT_EQ(screen_width(40, 12), 0);
  platform::ScreenBufferInfo info;
  ASSERT_TRUE(console_->read_screen_buffer_info(info));
  EXPECT_EQ(info.size, (CellPosition{40, 12}));
  EXPECT_EQ(info.window, (CellRect{0, 0, 39, 11}));
  EXPECT_EQ(screen_width(0, 0), 40 + (12 << 16));

  screen_color(14, 1);
  for (int line = 1; line <= 13; ++line)
    print_string(0, "wiersz " + std::to_string(line), PRINT_NEWLINE);
  detail::reset_layer({});
  EXPECT_EQ(cell(7, 0).Char.UnicodeChar, L'3');   // rows 1 and 2 scrolled away
  EXPECT_EQ(cell(7, 10).Char.UnicodeChar, L'1');  // "wiersz 13"
  EXPECT_EQ(cell(8, 10).Char.UnicodeChar, L'3');
  EXPECT_EQ(cell(0, 11).Char.UnicodeChar, L' ');
  EXPECT_EQ(cell(0, 11).Attributes, 0x1E);  // the new row in the colours of the text
}

// Keys from a pipe: its bytes are the keys (a CR LF line end is one Enter), and its end
// ends the input once every key is read.
TEST(Win32ConsolePipedInput, TheBytesAreTheKeysAndTheEndOfThePipeEndsTheInput) {
  HANDLE read_end = nullptr;
  HANDLE write_end = nullptr;
  ASSERT_TRUE(CreatePipe(&read_end, &write_end, nullptr, 0));
  Win32Console console(read_end, write_end);
  InputEvent event;
  EXPECT_FALSE(console.read_input(event));
  EXPECT_FALSE(console.input_ended());

  const std::string script = "a7\r\n\x1b\xA5";
  DWORD written = 0;
  ASSERT_TRUE(
      WriteFile(write_end, script.data(), static_cast<DWORD>(script.size()), &written, nullptr));
  CloseHandle(write_end);
  std::string characters;
  while (!console.input_ended()) {
    console.wait_for_input(std::chrono::milliseconds(10000));
    if (console.read_input(event) && event.key.key_down) {
      characters += static_cast<char>(event.key.character);
    }
  }
  EXPECT_EQ(characters, "a7\r\x1b\xA5");
  EXPECT_TRUE(console.input_ended());
  uint32_t mode = 0;
  EXPECT_FALSE(console.read_input_mode(mode));
  CloseHandle(read_end);
}

TEST(Win32ConsoleRedirectedOutput, BytesGoUnchangedAndThereIsNoScreen) {
  HANDLE read_end = nullptr;
  HANDLE write_end = nullptr;
  ASSERT_TRUE(CreatePipe(&read_end, &write_end, nullptr, 0));
  // Input of its own, already ended, so that nothing but the test reads the output pipe.
  HANDLE keys = nullptr;
  HANDLE no_keys = nullptr;
  ASSERT_TRUE(CreatePipe(&keys, &no_keys, nullptr, 0));
  CloseHandle(no_keys);
  Win32Console console(keys, write_end);
  platform::ScreenBufferInfo info;
  EXPECT_FALSE(console.read_screen_buffer_info(info));
  const uint8_t bytes[] = {'Z', 0xA5, '\r', '\n', 0x03};
  size_t written = 0;
  ASSERT_TRUE(console.write_raw(bytes, sizeof bytes, written));
  EXPECT_EQ(written, sizeof bytes);
  uint8_t back[8] = {};
  DWORD read = 0;
  ASSERT_TRUE(ReadFile(read_end, back, sizeof back, &read, nullptr));
  EXPECT_EQ(std::string(back, back + read), std::string(bytes, bytes + sizeof bytes));
  CloseHandle(read_end);
  CloseHandle(write_end);
  CloseHandle(keys);
}

}  // namespace
}  // namespace textscreen::testing
