// Test seam of the SDL-backed Win32 layer: a log of the calls made (kept only while a test asks
// for it), injected failures of named calls, a scripted message-box answer, a hand-driven
// performance counter, a desktop size, call hooks, and window-system events pushed into the
// layer. It exists only in the layer the tests and benchmarks link (brindlewick_platform_seam,
// built with BRINDLEWICK_TEST_SEAM); in the shipped program's layer the calls the layer makes
// into it are the inline no-ops at the end of this file, and the rest is not declared.
#pragma once

#include "platform/win32.h"

#include <cstdint>
#include <string>

#ifdef BRINDLEWICK_TEST_SEAM

#include <functional>
#include <type_traits>
#include <vector>

namespace seam {

// Starts logging every later layer call, from an empty log, until reset().
void recordCalls();
// Every layer call made since recordCalls(), as "Name" or "Name detail". Reading it without
// having asked for recording fails the test (throws), so a log that is never kept cannot make
// an "absent" check pass.
const std::vector<std::string> &calls();
// Makes every later call of that name fail the way the real call reports failure.
void failCall(const std::string &name);
// Makes MessageBoxA return this answer instead of showing a box; a negative answer shows boxes again.
void setMessageBoxAnswer(int answer);
// Makes the performance counter read this value at this frequency; Sleep then moves it on.
void setCounter(int64_t frequency, int64_t value);
// Makes GetWindowRect report a desktop of this size instead of the display's.
void setDesktopSize(int width, int height);
// Runs the action whenever that call is made, so a test can post messages into a running loop.
void onCall(const std::string &name, std::function<void()> action);
// The window created last, while it lives; null otherwise.
HWND lastWindow();
// Puts the layer back as the process started: no log and no recording, no failures, hooks,
// scripted answer, driven counter or desktop size; the pointer's display counter at 0, shown;
// no queued messages; no window classes; windows a test left alive destroyed without a message
// to their procedure; SDL's video stopped, so its events, pointer and GL library start afresh.
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

// Layer-internal: whether calls are being logged.
bool recording();
// Layer-internal: logs "name" while recording, runs the call's hooks and tells whether it must fail.
bool enter(const char *name, const char *detail = nullptr);
// Layer-internal: as above, logging "name detail"; makeDetail() runs only while recording.
template <typename MakeDetail, typename = std::enable_if_t<std::is_invocable_v<MakeDetail>>>
bool enter(const char *name, const MakeDetail &makeDetail)
{
    return recording() ? enter(name, std::string(makeDetail()).c_str()) : enter(name);
}
// Layer-internal: the scripted message-box answer, or a negative value.
int messageBoxAnswer();
// Layer-internal: true and the counter's frequency and value when a test drives it.
bool counter(int64_t *frequency, int64_t *value);
// Layer-internal: true, and the counter moved on by that many milliseconds, when a test drives it.
bool sleepOnCounter(DWORD milliseconds);
// Layer-internal: true and the desktop size a test asked for.
bool desktopSize(int *width, int *height);
// Layer-internal: remembers the window created last.
void setLastWindow(HWND window);
// Layer-internal: the window is being destroyed; lastWindow() stops naming it.
void forgetWindow(HWND window);

}  // namespace seam

#else  // the shipped program's layer: the seam is not there

// The layer's calls into the seam, each the real behaviour: no call fails, no answer is
// scripted, the counter and the desktop are the system's, nothing is remembered.
namespace seam {

template <typename... Detail>
inline bool enter(const char *, const Detail &...) { return false; }
inline int messageBoxAnswer() { return -1; }
inline bool counter(int64_t *, int64_t *) { return false; }
inline bool sleepOnCounter(DWORD) { return false; }
inline bool desktopSize(int *, int *) { return false; }
inline void setLastWindow(HWND) {}
inline void forgetWindow(HWND) {}

}  // namespace seam

#endif
