#include "graphics/scripted_keys.h"

#include "console/console_keyboard.h"
#include "console/key_queue.h"
#include "platform/code_pages.h"

namespace textscreen::detail {

int32_t ring_code_of_console_key(int32_t code) {
  if (code < 0x80 || code > 0xFF) return code;
  using platform::CodePage;
  const char32_t shown = platform::code_point_of(CodePage::cp852, static_cast<uint8_t>(code));
  return platform::byte_for(CodePage::cp437, shown);
}

void feed_scripted_keys(KeyRing& ring) {
  if (!scripted_input()) return;
  pump_console_input();
  bool taken = false;
  while (ring.room() > 0) {
    const int32_t code = key_queue().take();
    if (code == NO_KEY) break;
    taken = true;
    if (const int32_t ring_code = ring_code_of_console_key(code)) ring.push(ring_code);
  }
  // The queue has room again: the script's next keys wait there.
  if (taken) pump_console_input();
}

}  // namespace textscreen::detail
