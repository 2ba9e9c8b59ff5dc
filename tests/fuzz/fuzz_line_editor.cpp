// Chosen keys into input_prompt on an in-memory console, as key strings through the key
// slots. The line it returns is what the editing keys make of the typed characters; the
// screen shows the prompt and that line just before where the cursor is left; no cell
// outside the buffer is addressed and nothing goes raw.
//
// Input: the console's size (2..120 by 2..40; a console of one row or one column is no text
// screen, and the layer writes to it raw), where the prompt starts, the prompt, then the
// keys; Enter ends them.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "console/line_input.h"
#include "fuzz_support.h"
#include "textscreen/textscreen.h"

// The editing keys as key strings (255 and the PC keyboard's extended code), then F1, which
// the editor ignores; after them come a control byte the editor ignores and a character.
static const std::string KEYS[] = {"\xFFK", "\xFFM", "\xFFH", "\xFFP", "\xFFG", "\xFFO",
                                   "\xFFS", "\b",    "\t",    "\x1B",  "\xFF;"};
enum { LEFT, RIGHT, UP, DOWN, HOME, END, DELETE, BACKSPACE, TAB, ESCAPE, F1, CONTROL, CHARACTER };

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace textscreen;
  using namespace textscreen::fuzz;
  FuzzedDataProvider input(data, size);
  const auto columns = input.ConsumeIntegralInRange<int16_t>(2, 120);
  const auto rows = input.ConsumeIntegralInRange<int16_t>(2, 40);
  Layer layer(columns, rows);
  const int32_t row = input.ConsumeIntegralInRange<int32_t>(1, rows);
  const int32_t column = input.ConsumeIntegralInRange<int32_t>(1, columns);
  std::string prompt = input.ConsumeRandomLengthString(40);
  for (char& c : prompt) c = static_cast<char>(static_cast<uint8_t>(c) < 32 ? c + 'A' : c);
  const bool question = input.ConsumeBool();
  const int32_t cells = columns * rows;
  // Where the prompt and "? " end, counted in cells from the top left before any scroll.
  auto prompt_end = [&] {
    return (row - 1) * columns + column - 1 + static_cast<int32_t>(prompt.size()) + 2 * question;
  };
  // The typed line's first cell, on the bottom row when the prompt scrolled the screen.
  const int32_t line_start =
      prompt_end() < cells ? prompt_end() : (rows - 1) * columns + prompt_end() % columns;
  screen_locate(row, column, -1);

  // What the keys make of the line: the editor's rules, stated on the text alone.
  std::string text;
  int32_t pos = 0;
  while (input.remaining_bytes() > 0 && Layer::keys.size() < 300) {
    const auto key = input.ConsumeIntegralInRange<int>(LEFT, CHARACTER + 1);  // two for a character
    const auto byte = key >= CONTROL ? input.ConsumeIntegral<uint8_t>() : 0;
    const std::string typed(1, static_cast<char>(key == CONTROL ? byte % 8
                                                 : byte < 32    ? byte + 'a'
                                                                : byte));
    auto [next, at] = std::pair{text, pos};
    const auto length = static_cast<int32_t>(text.size());
    if (key == LEFT && at > 0) --at;
    if (key == RIGHT && at < length) ++at;
    if (key == UP && at >= columns) at -= columns;
    if (key == DOWN && at + columns <= length) at += columns;
    if (key == HOME || key == ESCAPE) at = 0;
    if (key == END) at = length;
    if (key == DELETE && at < length) next.erase(at, 1);
    if (key == BACKSPACE && at > 0) next.erase(--at, 1);
    if (key == ESCAPE) next.clear();
    if (key == TAB) next.insert(at, ((at + 8) & ~7) - at, ' '), at = (at + 8) & ~7;
    if (key >= CHARACTER) next.insert(at++, typed);
    // The line may scroll the screen until it starts on the top row, with the cell after
    // it still on the screen; a key that would grow it further does nothing.
    if (next.size() > text.size() &&
        line_start % columns + static_cast<int32_t>(next.size()) > cells - 1) {
      std::tie(next, at) = std::pair{text, pos};
    }
    Layer::keys.push_back(key < CONTROL ? KEYS[key] : typed);
    std::tie(text, pos) = std::pair{next, at};
  }
  Layer::keys.push_back("\r");
  FUZZ_CHECK(input_prompt(prompt, question, 0) == ERROR_NONE, "input_prompt failed");
  const std::string& line = detail::input_context().line;
  FUZZ_CHECK(line == text, "typed line \"" + line + "\", the keys make \"" + text + "\"");
  layer.check_clean();
  const platform::CellPosition cursor = layer.console.buffer().cursor();
  layer.check_before(prompt + (question ? "? " : "") + line, cursor.row * columns + cursor.column,
                     0, columns, false);
  return 0;
}
