#include "platform/terminal/terminal_input_decoder.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "platform/code_pages.h"
#include "platform/keyboard_layout.h"

namespace textscreen::platform {
namespace {

constexpr uint8_t ESC = 0x1B;
// A CSI longer than this is no key: the rest of it is dropped as it comes, so the
// pending bytes stay small whatever the terminal sends.
constexpr size_t MAX_SEQUENCE_LENGTH = 32;
constexpr std::array<uint8_t, 6> PASTE_END{ESC, '[', '2', '0', '1', '~'};

KeyEvent esc_key() {
  return key_event(VKEY_ESCAPE, ESC, 0);
}
KeyEvent enter_key() {
  return key_event(VKEY_RETURN, '\r', 0);
}

// The modifier parameter of xterm: 1 + (Shift | Alt << 1 | Ctrl << 2).
uint32_t modifier_state(int value) {
  if (value < 2) return 0;
  const int bits = value - 1;
  uint32_t state = 0;
  if (bits & 1) state |= KEY_STATE_SHIFT;
  if (bits & 2) state |= KEY_STATE_LEFT_ALT;
  if (bits & 4) state |= KEY_STATE_LEFT_CTRL;
  return state;
}

KeyEvent cursor_key(uint16_t virtual_key, uint32_t modifiers) {
  return key_event(virtual_key, 0, KEY_STATE_ENHANCED | modifiers);
}

KeyEvent function_key(int number, uint32_t modifiers) {
  return key_event(static_cast<uint16_t>(VKEY_F1 + number - 1), 0, modifiers);
}

// The key a final letter names in "ESC [ 1 ; m X" and "ESC O X"; virtual key 0 when none.
KeyEvent letter_key(uint8_t final_byte, uint32_t modifiers) {
  switch (final_byte) {
    case 'A':
      return cursor_key(VKEY_UP, modifiers);
    case 'B':
      return cursor_key(VKEY_DOWN, modifiers);
    case 'C':
      return cursor_key(VKEY_RIGHT, modifiers);
    case 'D':
      return cursor_key(VKEY_LEFT, modifiers);
    case 'H':
      return cursor_key(VKEY_HOME, modifiers);
    case 'F':
      return cursor_key(VKEY_END, modifiers);
    case 'P':
    case 'Q':
    case 'R':
    case 'S':
      return function_key(final_byte - 'P' + 1, modifiers);
    default:
      return KeyEvent{};
  }
}

// The key of "ESC [ n ; m ~"; virtual key 0 when none.
KeyEvent tilde_key(int number, uint32_t modifiers) {
  switch (number) {
    case 1:
    case 7:
      return cursor_key(VKEY_HOME, modifiers);
    case 2:
      return cursor_key(VKEY_INSERT, modifiers);
    case 3:
      return cursor_key(VKEY_DELETE, modifiers);
    case 4:
    case 8:
      return cursor_key(VKEY_END, modifiers);
    case 5:
      return cursor_key(VKEY_PRIOR, modifiers);
    case 6:
      return cursor_key(VKEY_NEXT, modifiers);
    default:
      break;
  }
  // F1-F12 as 11-15, 17-21, 23-24: the gaps are historical.
  constexpr std::array<int, 12> F_KEY_NUMBERS{11, 12, 13, 14, 15, 17, 18, 19, 20, 21, 23, 24};
  const auto* found = std::find(F_KEY_NUMBERS.begin(), F_KEY_NUMBERS.end(), number);
  if (found == F_KEY_NUMBERS.end()) return KeyEvent{};
  return function_key(static_cast<int>(found - F_KEY_NUMBERS.begin()) + 1, modifiers);
}

// Numeric parameters of a sequence: digits separated by ';', empty ones 0.
struct Parameters {
  std::array<int, 4> values{};
  size_t count = 0;
  bool plain = true;  // only digits and ';': no private marker, sub-parameter or intermediate
};

Parameters parse_parameters(const uint8_t* begin, const uint8_t* end) {
  Parameters p;
  if (begin == end) return p;
  p.count = 1;
  for (const uint8_t* c = begin; c != end; ++c) {
    if (*c == ';') {
      ++p.count;
    } else if (*c >= '0' && *c <= '9') {
      if (p.count <= p.values.size()) {
        int& v = p.values[p.count - 1];
        v = std::min(v * 10 + (*c - '0'), 99999);
      }
    } else {
      p.plain = false;
    }
  }
  return p;
}

}  // namespace

void TerminalInputDecoder::feed(const uint8_t* bytes, size_t count, Instant now) {
  if (count == 0) return;
  // Bytes held from long ago are not the start of what comes now.
  settle(now);
  pending_.insert(pending_.end(), bytes, bytes + count);
  last_byte_time_ = now;
  decode(false);
}

void TerminalInputDecoder::settle(Instant now) {
  if (!holding() || now - last_byte_time_ < ESC_TIMEOUT) return;
  discarding_ = false;
  decode(true);
  if (in_paste_ && now - last_byte_time_ >= PASTE_TIMEOUT) in_paste_ = false;
}

void TerminalInputDecoder::decode(bool force) {
  size_t pos = 0;
  while (pos < pending_.size()) {
    const size_t used = decode_at(pos, force);
    if (used == 0) break;
    pos += used;
  }
  pending_.erase(pending_.begin(), pending_.begin() + static_cast<ptrdiff_t>(pos));
}

size_t TerminalInputDecoder::decode_at(size_t pos, bool force) {
  const uint8_t byte = pending_[pos];
  if (discarding_) {
    if (byte >= 0x20 && byte <= 0x7E) {
      if (byte >= 0x40) discarding_ = false;
      return 1;
    }
    discarding_ = false;  // a control byte cuts the sequence off and counts on its own
  }
  if (in_paste_) return decode_paste(pos, force);
  if (byte == ESC) return decode_escape(pos, force);
  return decode_text(pos, force, 0);
}

size_t TerminalInputDecoder::decode_escape(size_t pos, bool force) {
  size_t used = 0;
  if (pos + 1 < pending_.size()) {
    const uint8_t next = pending_[pos + 1];
    if (next == ESC) {  // the first ESC is a key of its own; the second starts over
      push_key(esc_key());
      return 1;
    }
    if (next == '[') {
      used = decode_csi(pos);
    } else if (next == 'O') {
      used = decode_ss3(pos);
    } else if (!alt_prefix_) {
      push_key(esc_key());
      return 1;
    } else {
      used = decode_text(pos + 1, false, KEY_STATE_LEFT_ALT);
      if (used != 0) ++used;
    }
  }
  if (used == 0 && force) {
    push_key(esc_key());
    return 1;
  }
  return used;
}

bool TerminalInputDecoder::find_final_byte(size_t pos, size_t start, size_t& end, size_t& stop) {
  const size_t size = pending_.size();
  end = start;
  while (end < size && pending_[end] >= 0x20 && pending_[end] <= 0x3F) ++end;
  if (end == size) {
    stop = 0;
    if (end - pos > MAX_SEQUENCE_LENGTH) {
      discarding_ = true;
      stop = end - pos;
    }
    return false;
  }
  // Any other byte cuts the sequence off: drop what came and decode that byte afresh.
  if (pending_[end] < 0x40 || pending_[end] > 0x7E) {
    stop = end - pos;
    return false;
  }
  // An overlong sequence is no key, whether it came in one read or was dropped as it came.
  if (end - pos > MAX_SEQUENCE_LENGTH) {
    stop = end + 1 - pos;
    return false;
  }
  return true;
}

size_t TerminalInputDecoder::decode_csi(size_t pos) {
  const size_t size = pending_.size();
  const size_t start = pos + 2;
  if (start < size && pending_[start] == '[') {  // the Linux console's F1-F5: ESC [ [ A-E
    if (start + 1 >= size) return 0;
    const uint8_t letter = pending_[start + 1];
    if (letter < 0x20 || letter > 0x7E) return start + 1 - pos;
    if (letter >= 'A' && letter <= 'E') push_key(function_key(letter - 'A' + 1, 0));
    return start + 2 - pos;
  }
  size_t end = 0;
  if (size_t stop = 0; !find_final_byte(pos, start, end, stop)) return stop;
  const uint8_t final_byte = pending_[end];
  const size_t used = end + 1 - pos;
  if (final_byte == 'M' && end == start) {  // an X10 mouse report: three raw bytes follow
    return end + 3 < size ? used + 3 : 0;
  }
  const Parameters p = parse_parameters(&pending_[start], &pending_[end]);
  if (!p.plain) return used;  // private and unknown sequences: mouse, focus, replies
  const uint32_t modifiers = modifier_state(p.count >= 2 ? p.values[1] : 0);
  KeyEvent key;
  if (final_byte == '~') {
    if (p.values[0] == 200 && bracketed_paste_) {
      in_paste_ = true;
      paste_after_cr_ = false;
      return used;
    }
    key = tilde_key(p.values[0], modifiers);
  } else if (final_byte == 'Z') {
    key = key_event(VKEY_TAB, 9, KEY_STATE_SHIFT | modifiers);
  } else if (p.values[0] <= 1) {
    key = letter_key(final_byte, modifiers);
  }
  if (key.virtual_key != 0) push_key(key);
  return used;
}

size_t TerminalInputDecoder::decode_ss3(size_t pos) {
  const size_t start = pos + 2;
  size_t end = 0;
  if (size_t stop = 0; !find_final_byte(pos, start, end, stop)) return stop;
  const uint8_t final_byte = pending_[end];
  // Some terminals put the modifier straight after the O ("ESC O 5 P"), others as xterm.
  const Parameters p = parse_parameters(&pending_[start], &pending_[end]);
  const int modifier = p.count == 0 ? 0 : p.values[std::min<size_t>(p.count, 2) - 1];
  const KeyEvent key = letter_key(final_byte, p.plain ? modifier_state(modifier) : 0);
  if (p.plain && key.virtual_key != 0) push_key(key);
  return end + 1 - pos;
}

size_t TerminalInputDecoder::decode_text(size_t pos, bool force, uint32_t extra_state) {
  const uint8_t byte = pending_[pos];
  KeyEvent key;
  size_t used = 1;
  if (byte < 0x80) {
    key = key_of_byte(byte);
  } else {
    char32_t code_point = REPLACEMENT_CHARACTER;
    used = decode_utf8({reinterpret_cast<const char*>(&pending_[pos]), pending_.size() - pos},
                       code_point);
    if (used == 0 && !force) return 0;
    // Bytes that are no UTF-8, or a character cut short, become '?' one by one and decoding
    // goes on after them.
    used = std::max<size_t>(used, 1);
    key = key_event(0, byte_for(CodePage::cp852, code_point), 0);
  }
  key.control_state |= extra_state;
  push_key(key);
  return used;
}

size_t TerminalInputDecoder::decode_paste(size_t pos, bool force) {
  const uint8_t byte = pending_[pos];
  if (byte == ESC) {
    const size_t available = std::min(pending_.size() - pos, PASTE_END.size());
    if (std::memcmp(&pending_[pos], PASTE_END.data(), available) == 0) {
      if (available == PASTE_END.size()) {
        in_paste_ = false;
        return available;
      }
      if (!force) return 0;
    }
    push_key(esc_key());  // pasted text is only text: an ESC in it starts no sequence
    return 1;
  }
  const bool after_cr = paste_after_cr_;
  paste_after_cr_ = byte == '\r';
  if (byte == '\n' && after_cr) return 1;
  if (byte == '\r' || byte == '\n') {
    push_key(enter_key());
    return 1;
  }
  return decode_text(pos, force, 0);
}

void TerminalInputDecoder::push_key(const KeyEvent& down) {
  KeyEvent key = down;
  key.key_down = true;
  key.repeat_count = 1;
  events_.push_back(key);
  key.key_down = false;
  events_.push_back(key);
}

}  // namespace textscreen::platform
