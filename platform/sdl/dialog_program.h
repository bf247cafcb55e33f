// Message boxes shown by the desktop's own dialog programs (zenity, kdialog), for the desktops
// where SDL cannot show one: native Wayland, an X server without core fonts.
#pragma once

#include "platform/win32.h"

namespace win32sdl {

// Shows the box through the first dialog program that shows it, the desktop's own first; the
// box's answer as MessageBoxA gives it, or -1 when no program could show it.
int askDialogProgram(LPCSTR text, LPCSTR caption, UINT type);

}  // namespace win32sdl
