// Test seam of the SDL-backed Win32 layer: a log of the calls made, injected failures of named
// calls, a scripted message-box answer, a hand-driven performance counter, call hooks, and
// window-system events pushed into the layer.
#pragma once

#include "platform/win32.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace seam {

// Every layer call made so far, as "Name" or "Name detail".
const std::vector<std::string> &calls();
// Forgets the calls logged so far.
void clearCalls();
// Makes every later call of that name fail the way the real call reports failure.
void failCall(const std::string &name);
// Makes MessageBoxA return this answer instead of showing a box; a negative answer shows boxes again.
void setMessageBoxAnswer(int answer);
// Makes the performance counter read this fixed value at this frequency.
void setCounter(int64_t frequency, int64_t value);
// Runs the action whenever that call is made, so a test can post messages into a running loop.
void onCall(const std::string &name, std::function<void()> action);
// The window created last, while it lives; null otherwise.
HWND lastWindow();
// Back to the real behaviour of every call, with an empty log.
void reset();

// How a key event pushed into the layer arrives.
enum class KeyAction { Press, Repeat, Release };
// Modifier keys held with a pushed key.
const unsigned kShift = 1, kCtrl = 2, kAlt = 4;
// Pushes a key event for the window as the window system would deliver it: the key at that
// position (its USB HID usage), typing that Unicode character (0 for a key that types none).
void pushKey(HWND window, int position, char32_t character, KeyAction action,
             unsigned modifiers = 0);
// Window-system events a test can push into the layer.
enum class WindowEvent { SizeChanged, Minimized, Restored, Maximized, Close };
// Pushes a window event for the window as the window system would deliver it.
void pushWindowEvent(HWND window, WindowEvent event);

// Layer-internal: logs the call, runs its hook and tells whether it must fail.
bool enter(const char *name, const std::string &detail = std::string());
// Layer-internal: the scripted message-box answer, or a negative value.
int messageBoxAnswer();
// Layer-internal: true and the counter's frequency and value when a test drives it.
bool counter(int64_t *frequency, int64_t *value);
// Layer-internal: remembers the window created last.
void setLastWindow(HWND window);

}  // namespace seam
