// The window's keyboard as SDL reports it: what each key down and each typed text puts into
// the key ring, as the window thread hands them to the layer.
#include "platform/sdl/parts/sdl_key_mapping.h"

#include <gtest/gtest.h>

#include <vector>

#include "graphics/key_ring.h"
#include "graphics/window_keys.h"
#include "platform/keys.h"

namespace textscreen::platform {
namespace {

using detail::KeyRing;

SDL_Keysym key(SDL_Scancode scancode, SDL_Keycode sym, uint16_t mod = KMOD_NONE) {
  return {scancode, sym, mod, 0};
}

struct Pressed {
  std::vector<int32_t> codes;
  bool swallowed = false;
};

// A key down as the window thread hands it on: the key, then the character SDL types no
// text for.
Pressed press(const SDL_Keysym& k) {
  KeyRing ring;
  Pressed pressed;
  WindowKeyEvent event;
  if (window_key_event(k, event)) {
    pressed.swallowed = detail::window_key_down(ring, event) == detail::WindowKeyOutcome::swallowed;
  }
  if (uint8_t c = untexted_character(k)) detail::window_character(ring, c, 1);
  while (!ring.empty()) pressed.codes.push_back(ring.pop());
  return pressed;
}

TEST(SdlKeys, EnterEscAndCtrlLettersTypeTheirCharacters) {
  EXPECT_EQ(press(key(SDL_SCANCODE_RETURN, SDLK_RETURN)).codes, std::vector<int32_t>{13});
  EXPECT_EQ(press(key(SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER)).codes, std::vector<int32_t>{13});
  EXPECT_EQ(press(key(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE)).codes, std::vector<int32_t>{27});
  EXPECT_EQ(press(key(SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE)).codes, std::vector<int32_t>{8});
  EXPECT_EQ(press(key(SDL_SCANCODE_TAB, SDLK_TAB)).codes, std::vector<int32_t>{9});
  EXPECT_EQ(press(key(SDL_SCANCODE_A, SDLK_a, KMOD_LCTRL)).codes, std::vector<int32_t>{1});
  EXPECT_EQ(press(key(SDL_SCANCODE_Z, SDLK_z, KMOD_RCTRL)).codes, std::vector<int32_t>{26});
  // Letters and digits come as text, not from the key down.
  EXPECT_TRUE(press(key(SDL_SCANCODE_A, SDLK_a, KMOD_LSHIFT)).codes.empty());
  EXPECT_TRUE(press(key(SDL_SCANCODE_KP_1, SDLK_KP_1, KMOD_NUM)).codes.empty());
}

TEST(SdlKeys, KeysWithoutCharactersGiveExtendedCodes) {
  EXPECT_EQ(press(key(SDL_SCANCODE_UP, SDLK_UP)).codes, std::vector<int32_t>{0x48FF});
  // Alt with the cursor block's Up, not the keypad's: the key is flagged extended.
  EXPECT_EQ(press(key(SDL_SCANCODE_UP, SDLK_UP, KMOD_LALT)).codes, std::vector<int32_t>{0x98FF});
  EXPECT_EQ(press(key(SDL_SCANCODE_F1, SDLK_F1)).codes, std::vector<int32_t>{0x3BFF});
  // With Num Lock off the keypad's 1 is End.
  EXPECT_EQ(press(key(SDL_SCANCODE_KP_1, SDLK_KP_1)).codes, std::vector<int32_t>{0x4FFF});
  EXPECT_EQ(press(key(SDL_SCANCODE_A, SDLK_a, KMOD_LALT)).codes, std::vector<int32_t>{0x1EFF});
  // Alt+F4 is the close key, and the window keeps it.
  const Pressed alt_f4 = press(key(SDL_SCANCODE_F4, SDLK_F4, KMOD_LALT));
  EXPECT_EQ(alt_f4.codes, std::vector<int32_t>{CLOSE_KEY});
  EXPECT_TRUE(alt_f4.swallowed);
}

TEST(SdlKeys, AltGrLeavesItsLettersToTheText) {
  EXPECT_TRUE(press(key(SDL_SCANCODE_A, SDLK_a, KMOD_RALT)).codes.empty());
  EXPECT_TRUE(text_counts(KMOD_RALT));
  EXPECT_TRUE(text_counts(KMOD_LCTRL | KMOD_RALT));
  EXPECT_FALSE(text_counts(KMOD_LALT));
  EXPECT_FALSE(text_counts(KMOD_LCTRL));
}

TEST(SdlKeys, TypedTextBecomesCodePage437) {
  EXPECT_EQ(code_page_437_text("100"), "100");
  EXPECT_EQ(code_page_437_text("\xC5\x82"), "l");      // ł: 437 has only the bare letter
  EXPECT_EQ(code_page_437_text("\xC3\xB6"), "\x94");   // ö is in 437
  EXPECT_EQ(code_page_437_text("\xE2\x82\xAC"), "?");  // €
}

TEST(SdlKeys, HeldKeysFillTheKeyStateTable) {
  std::vector<uint8_t> sdl_state(SDL_NUM_SCANCODES);
  sdl_state[SDL_SCANCODE_A] = 1;
  sdl_state[SDL_SCANCODE_RCTRL] = 1;
  sdl_state[SDL_SCANCODE_LGUI] = 1;  // no set-1 code below 128
  std::vector<uint8_t> states(128, 1);
  fill_key_states(sdl_state.data(), static_cast<int>(sdl_state.size()), states.data());
  std::vector<uint8_t> expected(128);
  expected[0x1E] = 1;
  expected[0x1D] = 1;
  EXPECT_EQ(states, expected);
}

}  // namespace
}  // namespace textscreen::platform
