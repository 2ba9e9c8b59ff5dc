// Turns the bytes a terminal sends in raw mode into console key events: printable and
// control bytes, Alt as an ESC prefix, UTF-8 text, the CSI/SS3 sequences of the cursor and
// function keys, and bracketed paste. It touches no operating system: the terminal console
// reads the bytes and the clock and hands both in.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "platform/clock.h"
#include "platform/keys.h"

namespace textscreen::platform {

class TerminalInputDecoder {
 public:
  using Instant = Clock::Instant;
  static constexpr std::chrono::milliseconds ESC_TIMEOUT{20};
  // A paste whose end marker has not come after this long without a byte has ended.
  static constexpr std::chrono::milliseconds PASTE_TIMEOUT{200};

  // Whether the terminal was asked to bracket pastes; only then do the paste markers
  // count, since otherwise they can only have been typed.
  void set_bracketed_paste(bool on) { bracketed_paste_ = on; }
  // Whether an ESC before a key means Alt with that key, as a terminal sends it (the
  // default). Off for keys from a pipe or a file: there an ESC is the Esc key, so a script
  // can press Esc and then another key. ESC [ and ESC O still begin the cursor and function
  // keys' sequences.
  void set_alt_prefix(bool on) { alt_prefix_ = on; }

  // Bytes just read from the terminal, at time `now`.
  void feed(const uint8_t* bytes, size_t count, Instant now);
  // An ESC, or a sequence cut short, that has waited ESC_TIMEOUT since its last byte is
  // taken for keys of its own: the ESC as Esc, the bytes after it as plain keys. A paste
  // still open after PASTE_TIMEOUT ends.
  void settle(Instant now);

  bool empty() const { return events_.empty(); }
  // The oldest ready event; the key queue must not be empty.
  const KeyEvent& front() const { return events_.front(); }
  void pop() { events_.pop_front(); }
  // True while bytes wait for the rest of a sequence, so settle must be called later.
  bool holding() const { return !pending_.empty() || discarding_ || in_paste_; }

 private:
  // Each decode_* takes the key starting at `pos` of the pending bytes, queues what it
  // gives and returns the bytes it used: 0 when the sequence is not complete yet. With
  // `force` nothing waits: a sequence cut short is taken apart instead.
  void decode(bool force);
  size_t decode_at(size_t pos, bool force);
  size_t decode_escape(size_t pos, bool force);
  // Finds the final byte of the sequence at `pos` whose parameter bytes begin at `start`.
  // False when there is none to decode; `stop` then is what the caller returns.
  bool find_final_byte(size_t pos, size_t start, size_t& end, size_t& stop);
  size_t decode_csi(size_t pos);  // `pos` at the ESC of "ESC ["
  size_t decode_ss3(size_t pos);  // `pos` at the ESC of "ESC O"
  size_t decode_text(size_t pos, bool force, uint32_t extra_state);
  size_t decode_paste(size_t pos, bool force);
  void push_key(const KeyEvent& down);

  std::vector<uint8_t> pending_;  // undecoded bytes: at most one unfinished sequence
  std::deque<KeyEvent> events_;
  Instant last_byte_time_{};
  bool bracketed_paste_ = false;
  bool alt_prefix_ = true;
  bool in_paste_ = false;
  bool paste_after_cr_ = false;  // a CR LF pair in pasted text is one Enter
  bool discarding_ = false;      // inside an overlong CSI: drop bytes until its final byte
};

}  // namespace textscreen::platform
