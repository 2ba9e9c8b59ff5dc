// Fields of the typed line, and the numbers read from them.
#include "console/line_input.h"
#include "console/number_text.h"
#include "console/screen_state.h"
#include "textscreen/line_input.h"
#include "textscreen/textscreen.h"

namespace textscreen::detail {
namespace {

constexpr int32_t INTEGER_FIELD_LIMIT = 11;
constexpr int32_t SINGLE_FIELD_LIMIT = 15;
constexpr int END = -1;
// A byte 255 in the line reads as its end.
constexpr int END_MARK = 255;

class LineReader {
 public:
  explicit LineReader(InputContext& context) : context_(context) {}

  int read() {
    if (context_.position >= static_cast<int32_t>(context_.line.size())) return END;
    int b = static_cast<uint8_t>(context_.line[static_cast<size_t>(context_.position++)]);
    return b == END_MARK ? END : b;
  }
  void put_back() {
    if (context_.position > 0) --context_.position;
  }

 private:
  InputContext& context_;
};

bool is_blank(int b) {
  return b == ' ' || b == '\t';
}

// After a closed quoted text: blanks, then one separator, are taken with the field.
void finish_quoted_field(LineReader& reader, int b) {
  while (is_blank(b)) b = reader.read();
  if (b == END || b == '\n' || b == ',') return;
  if (b == '\r') {
    if (reader.read() != '\n') reader.put_back();
    return;
  }
  reader.put_back();
}

}  // namespace

std::string read_field(int32_t max, bool is_text) {
  LineReader reader(input_context());
  std::string field;
  int b = reader.read();
  while (b == ' ' || b == '\t' || b == '\r' || b == '\n') b = reader.read();
  // The end, or a byte 255 that reads as the end, leaves the field empty; what follows a
  // 255 is for the next field.
  if (b == END) return field;
  reader.put_back();

  bool in_quotes = false;
  int32_t count = 0;
  auto keep = [&](int byte) {
    field.push_back(static_cast<char>(byte));
    ++count;
  };
  for (;;) {
    if (count >= max) break;
    b = reader.read();
    if (b == END) break;
    if (is_blank(b)) {
      if (count == 0) {
        if (is_text && in_quotes) keep(b);
        continue;
      }
      if (is_text || in_quotes) {
        keep(b);
        continue;
      }
      break;
    }
    if (b == '\n') break;
    if (b == '\r') {
      if (reader.read() != '\n') reader.put_back();
      break;
    }
    if (b == '"') {
      if (in_quotes) {
        in_quotes = false;
        if (is_text) {
          finish_quoted_field(reader, reader.read());
          break;
        }
      } else if (count == 0) {
        in_quotes = true;
      } else {
        keep(b);
      }
      continue;
    }
    if (b == ',' && !in_quotes) break;
    keep(b);
  }
  return field;
}

}  // namespace textscreen::detail

namespace textscreen {

void input_int(int32_t& value) {
  value = detail::integer_from_field(detail::read_field(detail::INTEGER_FIELD_LIMIT, false));
  detail::set_error(ERROR_NONE);
}

void input_single(float& value) {
  value = detail::single_from_field(detail::read_field(detail::SINGLE_FIELD_LIMIT, false));
  detail::set_error(ERROR_NONE);
}

}  // namespace textscreen
