// Virtual-key codes and Windows scan codes for SDL key events, from one table. SDL's own key
// codes cannot stand in for the first ('p' is 112 there, which is VK_F1 here), nor its
// scancodes, which are USB HID usages, for the second.
#include "platform/sdl/internal.h"

#include <algorithm>
#include <iterator>

namespace {

// One key the layer gives messages for: where it is, its virtual-key code, Windows' set 1 scan
// code, and whether that code comes after an E0 prefix (an extended key).
struct Key {
    SDL_Scancode position;
    WPARAM code;
    BYTE scan;
    bool extended;
};

const Key kKeys[] = {
    {SDL_SCANCODE_A, 'A', 0x1E, false}, {SDL_SCANCODE_B, 'B', 0x30, false},
    {SDL_SCANCODE_C, 'C', 0x2E, false}, {SDL_SCANCODE_D, 'D', 0x20, false},
    {SDL_SCANCODE_E, 'E', 0x12, false}, {SDL_SCANCODE_F, 'F', 0x21, false},
    {SDL_SCANCODE_G, 'G', 0x22, false}, {SDL_SCANCODE_H, 'H', 0x23, false},
    {SDL_SCANCODE_I, 'I', 0x17, false}, {SDL_SCANCODE_J, 'J', 0x24, false},
    {SDL_SCANCODE_K, 'K', 0x25, false}, {SDL_SCANCODE_L, 'L', 0x26, false},
    {SDL_SCANCODE_M, 'M', 0x32, false}, {SDL_SCANCODE_N, 'N', 0x31, false},
    {SDL_SCANCODE_O, 'O', 0x18, false}, {SDL_SCANCODE_P, 'P', 0x19, false},
    {SDL_SCANCODE_Q, 'Q', 0x10, false}, {SDL_SCANCODE_R, 'R', 0x13, false},
    {SDL_SCANCODE_S, 'S', 0x1F, false}, {SDL_SCANCODE_T, 'T', 0x14, false},
    {SDL_SCANCODE_U, 'U', 0x16, false}, {SDL_SCANCODE_V, 'V', 0x2F, false},
    {SDL_SCANCODE_W, 'W', 0x11, false}, {SDL_SCANCODE_X, 'X', 0x2D, false},
    {SDL_SCANCODE_Y, 'Y', 0x15, false}, {SDL_SCANCODE_Z, 'Z', 0x2C, false},
    {SDL_SCANCODE_1, '1', 0x02, false}, {SDL_SCANCODE_2, '2', 0x03, false},
    {SDL_SCANCODE_3, '3', 0x04, false}, {SDL_SCANCODE_4, '4', 0x05, false},
    {SDL_SCANCODE_5, '5', 0x06, false}, {SDL_SCANCODE_6, '6', 0x07, false},
    {SDL_SCANCODE_7, '7', 0x08, false}, {SDL_SCANCODE_8, '8', 0x09, false},
    {SDL_SCANCODE_9, '9', 0x0A, false}, {SDL_SCANCODE_0, '0', 0x0B, false},
    {SDL_SCANCODE_F1, VK_F1, 0x3B, false}, {SDL_SCANCODE_F2, VK_F1 + 1, 0x3C, false},
    {SDL_SCANCODE_F3, VK_F1 + 2, 0x3D, false}, {SDL_SCANCODE_F4, VK_F4, 0x3E, false},
    {SDL_SCANCODE_F5, VK_F1 + 4, 0x3F, false}, {SDL_SCANCODE_F6, VK_F1 + 5, 0x40, false},
    {SDL_SCANCODE_F7, VK_F1 + 6, 0x41, false}, {SDL_SCANCODE_F8, VK_F1 + 7, 0x42, false},
    {SDL_SCANCODE_F9, VK_F1 + 8, 0x43, false}, {SDL_SCANCODE_F10, VK_F10, 0x44, false},
    {SDL_SCANCODE_F11, VK_F1 + 10, 0x57, false}, {SDL_SCANCODE_F12, VK_F12, 0x58, false},
    {SDL_SCANCODE_KP_0, VK_NUMPAD0, 0x52, false}, {SDL_SCANCODE_KP_1, VK_NUMPAD0 + 1, 0x4F, false},
    {SDL_SCANCODE_KP_2, VK_NUMPAD0 + 2, 0x50, false}, {SDL_SCANCODE_KP_3, VK_NUMPAD0 + 3, 0x51, false},
    {SDL_SCANCODE_KP_4, VK_NUMPAD0 + 4, 0x4B, false}, {SDL_SCANCODE_KP_5, VK_NUMPAD0 + 5, 0x4C, false},
    {SDL_SCANCODE_KP_6, VK_NUMPAD0 + 6, 0x4D, false}, {SDL_SCANCODE_KP_7, VK_NUMPAD0 + 7, 0x47, false},
    {SDL_SCANCODE_KP_8, VK_NUMPAD0 + 8, 0x48, false}, {SDL_SCANCODE_KP_9, VK_NUMPAD0 + 9, 0x49, false},
    {SDL_SCANCODE_KP_PERIOD, VK_DECIMAL, 0x53, false}, {SDL_SCANCODE_KP_MINUS, VK_SUBTRACT, 0x4A, false},
    {SDL_SCANCODE_KP_PLUS, VK_ADD, 0x4E, false}, {SDL_SCANCODE_KP_MULTIPLY, VK_MULTIPLY, 0x37, false},
    {SDL_SCANCODE_KP_DIVIDE, VK_DIVIDE, 0x35, true}, {SDL_SCANCODE_ESCAPE, VK_ESCAPE, 0x01, false},
    {SDL_SCANCODE_BACKSPACE, VK_BACK, 0x0E, false}, {SDL_SCANCODE_TAB, VK_TAB, 0x0F, false},
    {SDL_SCANCODE_RETURN, VK_RETURN, 0x1C, false}, {SDL_SCANCODE_SPACE, VK_SPACE, 0x39, false},
    {SDL_SCANCODE_LSHIFT, VK_SHIFT, 0x2A, false}, {SDL_SCANCODE_RSHIFT, VK_SHIFT, 0x36, false},
    {SDL_SCANCODE_LCTRL, VK_CONTROL, 0x1D, false}, {SDL_SCANCODE_RCTRL, VK_CONTROL, 0x1D, true},
    {SDL_SCANCODE_LALT, VK_MENU, 0x38, false}, {SDL_SCANCODE_RALT, VK_MENU, 0x38, true},
    {SDL_SCANCODE_UP, VK_UP, 0x48, true}, {SDL_SCANCODE_LEFT, VK_LEFT, 0x4B, true},
    {SDL_SCANCODE_RIGHT, VK_RIGHT, 0x4D, true}, {SDL_SCANCODE_DOWN, VK_DOWN, 0x50, true},
};

// The table's entry for the key at that position, or null.
const Key *keyAt(SDL_Scancode position)
{
    const Key *found = std::find_if(std::begin(kKeys), std::end(kKeys),
                                    [&](const Key &key) { return key.position == position; });
    return found == std::end(kKeys) ? nullptr : found;
}

// Whether the key types a character that is not ASCII, such as a Cyrillic or Greek letter.
bool typesNonLatin(SDL_Keycode symbol)
{
    const SDL_Keycode kFirstNonAscii = 0x80;
    return symbol >= kFirstNonAscii && !(symbol & SDLK_SCANCODE_MASK);
}

}  // namespace

namespace win32sdl {

WORD keyFlagsFor(SDL_Scancode position)
{
    const Key *key = keyAt(position);
    return key ? static_cast<WORD>(key->scan | (key->extended ? KF_EXTENDED : 0)) : 0;
}

WPARAM virtualKeyFor(const SDL_KeyboardEvent &event)
{
    const SDL_Keycode symbol = event.keysym.sym;
    // Letters follow the keyboard layout and give the upper-case code whatever Shift or Caps Lock.
    if (symbol >= SDLK_a && symbol <= SDLK_z)
        return 'A' + (symbol - SDLK_a);
    const Key *key = keyAt(event.keysym.scancode);
    if (!key)
        return 0;
    // A letter key typing something else counts only where the layout types another script:
    // Win32 then names it by its Latin position.
    const bool letter = key->code >= 'A' && key->code <= 'Z';
    return !letter || typesNonLatin(symbol) ? key->code : 0;
}

}  // namespace win32sdl
