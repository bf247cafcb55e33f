// Virtual-key codes and Windows scan codes for SDL key events. SDL's own key codes cannot stand
// in for the first ('p' is 112 there, which is VK_F1 here), nor its scancodes, which are USB HID
// usages, for the second.
#include "platform/sdl/internal.h"

namespace {

// Whether the key types a character that is not ASCII, such as a Cyrillic or Greek letter.
bool typesNonLatin(SDL_Keycode symbol)
{
    const SDL_Keycode kFirstNonAscii = 0x80;
    return symbol >= kFirstNonAscii && !(symbol & SDLK_SCANCODE_MASK);
}

// Key-message lParam bit: an extended key, one whose set 1 scan code comes after an E0 prefix.
const LPARAM kExtended = LPARAM(1) << 24;

// Set 1 scan codes of the letters A...Z, of the keypad's 1...9, and of F1 (F2...F10 follow).
const BYTE kLetterScans[] = {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17,
                             0x24, 0x25, 0x26, 0x32, 0x31, 0x18, 0x19, 0x10, 0x13,
                             0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};
const BYTE kKeypadScans[] = {0x4F, 0x50, 0x51, 0x4B, 0x4C, 0x4D, 0x47, 0x48, 0x49};
const BYTE kF1Scan = 0x3B, kDigit1Scan = 0x02;  // the main-row 1...9, 0 follow in SDL's order too

// The other keys the layer gives virtual-key codes for, with their set 1 scan codes.
struct OtherKey {
    SDL_Scancode key;
    BYTE scan;
    bool extended;
};
const OtherKey kOtherKeys[] = {
    {SDL_SCANCODE_ESCAPE, 0x01, false},  {SDL_SCANCODE_BACKSPACE, 0x0E, false},
    {SDL_SCANCODE_TAB, 0x0F, false},     {SDL_SCANCODE_RETURN, 0x1C, false},
    {SDL_SCANCODE_SPACE, 0x39, false},   {SDL_SCANCODE_F11, 0x57, false},
    {SDL_SCANCODE_F12, 0x58, false},     {SDL_SCANCODE_KP_0, 0x52, false},
    {SDL_SCANCODE_KP_PERIOD, 0x53, false}, {SDL_SCANCODE_KP_MINUS, 0x4A, false},
    {SDL_SCANCODE_KP_PLUS, 0x4E, false}, {SDL_SCANCODE_KP_MULTIPLY, 0x37, false},
    {SDL_SCANCODE_KP_DIVIDE, 0x35, true}, {SDL_SCANCODE_LSHIFT, 0x2A, false},
    {SDL_SCANCODE_RSHIFT, 0x36, false},  {SDL_SCANCODE_LCTRL, 0x1D, false},
    {SDL_SCANCODE_RCTRL, 0x1D, true},    {SDL_SCANCODE_LALT, 0x38, false},
    {SDL_SCANCODE_RALT, 0x38, true},     {SDL_SCANCODE_UP, 0x48, true},
    {SDL_SCANCODE_LEFT, 0x4B, true},     {SDL_SCANCODE_RIGHT, 0x4D, true},
    {SDL_SCANCODE_DOWN, 0x50, true},
};

// The set 1 scan code of a key, with kExtended for an E0 key; 0 for keys not listed.
LPARAM windowsScan(SDL_Scancode key)
{
    if (key >= SDL_SCANCODE_A && key <= SDL_SCANCODE_Z)
        return kLetterScans[key - SDL_SCANCODE_A];
    if (key >= SDL_SCANCODE_1 && key <= SDL_SCANCODE_0)
        return kDigit1Scan + (key - SDL_SCANCODE_1);
    if (key >= SDL_SCANCODE_F1 && key <= SDL_SCANCODE_F10)
        return kF1Scan + (key - SDL_SCANCODE_F1);
    if (key >= SDL_SCANCODE_KP_1 && key <= SDL_SCANCODE_KP_9)
        return kKeypadScans[key - SDL_SCANCODE_KP_1];
    for (const OtherKey &other : kOtherKeys)
        if (other.key == key)
            return other.scan | (other.extended ? kExtended : 0);
    return 0;
}

}  // namespace

namespace win32sdl {

LPARAM scanCodeBits(SDL_Scancode key)
{
    const LPARAM scan = windowsScan(key);
    return ((scan & 0xFF) << 16) | (scan & kExtended);
}

WPARAM virtualKeyFor(const SDL_KeyboardEvent &key)
{
    const SDL_Keycode symbol = key.keysym.sym;
    const SDL_Scancode scan = key.keysym.scancode;
    // Letters follow the keyboard layout and give the upper-case code whatever Shift or Caps Lock.
    if (symbol >= SDLK_a && symbol <= SDLK_z)
        return 'A' + (symbol - SDLK_a);
    // Where the layout types another script, Win32 names letter keys by their Latin position.
    if (typesNonLatin(symbol) && scan >= SDL_SCANCODE_A && scan <= SDL_SCANCODE_Z)
        return 'A' + (scan - SDL_SCANCODE_A);
    // Main-row digits by position, so a shifted layout still gives '1'..'9' and '0'.
    if (scan >= SDL_SCANCODE_1 && scan <= SDL_SCANCODE_9)
        return '1' + (scan - SDL_SCANCODE_1);
    if (scan == SDL_SCANCODE_0)
        return '0';
    if (scan >= SDL_SCANCODE_KP_1 && scan <= SDL_SCANCODE_KP_9)
        return VK_NUMPAD0 + 1 + (scan - SDL_SCANCODE_KP_1);
    if (scan >= SDL_SCANCODE_F1 && scan <= SDL_SCANCODE_F12)
        return VK_F1 + (scan - SDL_SCANCODE_F1);
    switch (scan) {
    case SDL_SCANCODE_KP_0: return VK_NUMPAD0;
    case SDL_SCANCODE_KP_MINUS: return VK_SUBTRACT;
    case SDL_SCANCODE_KP_PLUS: return VK_ADD;
    case SDL_SCANCODE_KP_MULTIPLY: return VK_MULTIPLY;
    case SDL_SCANCODE_KP_DIVIDE: return VK_DIVIDE;
    case SDL_SCANCODE_KP_PERIOD: return VK_DECIMAL;
    case SDL_SCANCODE_ESCAPE: return VK_ESCAPE;
    case SDL_SCANCODE_RETURN: return VK_RETURN;
    case SDL_SCANCODE_SPACE: return VK_SPACE;
    case SDL_SCANCODE_TAB: return VK_TAB;
    case SDL_SCANCODE_BACKSPACE: return VK_BACK;
    case SDL_SCANCODE_LEFT: return VK_LEFT;
    case SDL_SCANCODE_UP: return VK_UP;
    case SDL_SCANCODE_RIGHT: return VK_RIGHT;
    case SDL_SCANCODE_DOWN: return VK_DOWN;
    case SDL_SCANCODE_LSHIFT: case SDL_SCANCODE_RSHIFT: return VK_SHIFT;
    case SDL_SCANCODE_LCTRL: case SDL_SCANCODE_RCTRL: return VK_CONTROL;
    case SDL_SCANCODE_LALT: case SDL_SCANCODE_RALT: return VK_MENU;
    default: return 0;
    }
}

}  // namespace win32sdl
