// Virtual-key codes for SDL key events. SDL's own key codes cannot stand in for them: 'p' is
// 112 there, which is VK_F1 here.
#include "platform/sdl/internal.h"

namespace {

// Whether the key types a character that is not ASCII, such as a Cyrillic or Greek letter.
bool typesNonLatin(SDL_Keycode symbol)
{
    const SDL_Keycode kFirstNonAscii = 0x80;
    return symbol >= kFirstNonAscii && !(symbol & SDLK_SCANCODE_MASK);
}

}  // namespace

namespace win32sdl {

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
