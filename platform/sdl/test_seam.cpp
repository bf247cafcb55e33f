// State of the test seam; idle unless a test uses it.
#include "platform/sdl/test_seam.h"
#include "platform/sdl/internal.h"

#include <algorithm>

namespace seam {
namespace {

std::vector<std::string> callLog;
std::vector<std::string> failing;
int scriptedAnswer = -1;
bool counterDriven = false;
int64_t drivenFrequency = 1;
int64_t drivenValue = 0;
std::vector<std::pair<std::string, std::function<void()>>> hooks;
HWND newestWindow = nullptr;

}  // namespace

const std::vector<std::string> &calls() { return callLog; }

void clearCalls() { callLog.clear(); }

void failCall(const std::string &name) { failing.push_back(name); }

void setMessageBoxAnswer(int answer) { scriptedAnswer = answer; }

void setCounter(int64_t frequency, int64_t value)
{
    counterDriven = true;
    drivenFrequency = frequency;
    drivenValue = value;
}

void onCall(const std::string &name, std::function<void()> action)
{
    hooks.emplace_back(name, std::move(action));
}

HWND lastWindow() { return newestWindow; }

void setLastWindow(HWND window) { newestWindow = window; }

void reset()
{
    callLog.clear();
    failing.clear();
    hooks.clear();
    scriptedAnswer = -1;
    counterDriven = false;
}

bool enter(const char *name, const std::string &detail)
{
    callLog.push_back(detail.empty() ? std::string(name) : std::string(name) + " " + detail);
    for (size_t i = 0; i < hooks.size(); ++i)  // by index: an action may add hooks
        if (hooks[i].first == name) {
            auto action = hooks[i].second;
            action();
        }
    return std::find(failing.begin(), failing.end(), name) != failing.end();
}

namespace {

// SDL's modifier state for the seam's modifier flags.
Uint16 sdlModifiers(unsigned modifiers)
{
    return static_cast<Uint16>(((modifiers & kShift) ? KMOD_LSHIFT : 0) |
                               ((modifiers & kCtrl) ? KMOD_LCTRL : 0) |
                               ((modifiers & kAlt) ? KMOD_LALT : 0));
}

}  // namespace

void pushKey(HWND window, int position, char32_t character, KeyAction action, unsigned modifiers)
{
    SDL_Event event = {};
    const bool release = action == KeyAction::Release;
    event.key.type = release ? SDL_KEYUP : SDL_KEYDOWN;
    event.key.windowID = SDL_GetWindowID(window->sdl);
    event.key.state = release ? SDL_RELEASED : SDL_PRESSED;
    event.key.repeat = action == KeyAction::Repeat;
    // SDL's scancodes are the USB HID usages; keys that type nothing are named by them too.
    const SDL_Scancode scan = static_cast<SDL_Scancode>(position);
    event.key.keysym.scancode = scan;
    event.key.keysym.sym = character ? static_cast<SDL_Keycode>(character)
                                     : SDL_SCANCODE_TO_KEYCODE(scan);
    event.key.keysym.mod = sdlModifiers(modifiers);
    SDL_PushEvent(&event);
}

void pushWindowEvent(HWND window, WindowEvent kind)
{
    static const Uint8 kSdlEvents[] = {SDL_WINDOWEVENT_SIZE_CHANGED, SDL_WINDOWEVENT_MINIMIZED,
                                       SDL_WINDOWEVENT_RESTORED, SDL_WINDOWEVENT_MAXIMIZED,
                                       SDL_WINDOWEVENT_CLOSE};
    SDL_Event event = {};
    event.window.type = SDL_WINDOWEVENT;
    event.window.windowID = SDL_GetWindowID(window->sdl);
    event.window.event = kSdlEvents[static_cast<int>(kind)];
    SDL_GetWindowSize(window->sdl, &event.window.data1, &event.window.data2);
    SDL_PushEvent(&event);
}

int messageBoxAnswer() { return scriptedAnswer; }

bool counter(int64_t *frequency, int64_t *value)
{
    *frequency = drivenFrequency;
    *value = drivenValue;
    return counterDriven;
}


}  // namespace seam
