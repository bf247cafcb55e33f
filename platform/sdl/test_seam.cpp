// The test seam's state and the layer's side of it; built only into the test variant of the
// layer. Every piece of it starts as the real behaviour and goes back to it on reset().
#include "platform/sdl/test_seam.h"
#include "platform/sdl/internal.h"

#include <algorithm>
#include <stdexcept>

namespace seam {
namespace {

// Everything a test can set, at its process-start value.
struct Seam {
    bool recording = false;
    std::vector<std::string> callLog;
    std::vector<std::string> failing;
    int scriptedAnswer = -1;
    bool counterDriven = false;
    int64_t drivenFrequency = 1;
    int64_t drivenValue = 0;
    int desktopWidth = 0, desktopHeight = 0;
    std::vector<std::pair<std::string, std::function<void()>>> hooks;
    HWND newestWindow = nullptr;
};
Seam state;

// Destroys the windows a test left alive, without calling their procedures: whatever their
// user data points at may have ended with that test.
void destroyLeftWindows()
{
    if (win32sdl::layer.windows.empty())
        return;
    SDL_GL_MakeCurrent(nullptr, nullptr);
    for (HWND window : win32sdl::layer.windows) {
        SDL_DestroyWindow(window->sdl);
        delete window;
    }
}

}  // namespace

void recordCalls()
{
    state.callLog.clear();
    state.recording = true;
}

const std::vector<std::string> &calls()
{
    if (!state.recording)
        throw std::logic_error("seam::calls() read without seam::recordCalls()");
    return state.callLog;
}

void failCall(const std::string &name) { state.failing.push_back(name); }

void setMessageBoxAnswer(int answer) { state.scriptedAnswer = answer; }

void setCounter(int64_t frequency, int64_t value)
{
    state.counterDriven = true;
    state.drivenFrequency = frequency;
    state.drivenValue = value;
}

void setDesktopSize(int width, int height)
{
    state.desktopWidth = width;
    state.desktopHeight = height;
}

void onCall(const std::string &name, std::function<void()> action)
{
    state.hooks.emplace_back(name, std::move(action));
}

HWND lastWindow() { return state.newestWindow; }

void reset()
{
    state = Seam{};
    destroyLeftWindows();
    win32sdl::layer = win32sdl::Layer{};
    // As at process start, SDL's video is not running: its events and pointer state go, and the
    // GL library is loaded afresh, reading its environment (extension overrides) again.
    if (SDL_WasInit(SDL_INIT_VIDEO)) {
        SDL_GL_UnloadLibrary();  // the load the layer keeps for the whole run
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
}

bool recording() { return state.recording; }

bool enter(const char *name, const char *detail)
{
    if (state.recording)
        state.callLog.push_back(detail ? std::string(name) + " " + detail : std::string(name));
    for (size_t i = 0; i < state.hooks.size(); ++i)  // by index: an action may add hooks
        if (state.hooks[i].first == name) {
            auto action = state.hooks[i].second;
            action();
        }
    return std::find(state.failing.begin(), state.failing.end(), name) != state.failing.end();
}

int messageBoxAnswer() { return state.scriptedAnswer; }

bool counter(int64_t *frequency, int64_t *value)
{
    *frequency = state.drivenFrequency;
    *value = state.drivenValue;
    return state.counterDriven;
}

bool sleepOnCounter(DWORD milliseconds)
{
    // A hand-driven clock: Sleep moves the counter on instead of waiting, so no frame sleeps.
    if (state.counterDriven)
        state.drivenValue += int64_t(milliseconds) * state.drivenFrequency / 1000;
    return state.counterDriven;
}

bool desktopSize(int *width, int *height)
{
    *width = state.desktopWidth;
    *height = state.desktopHeight;
    return state.desktopWidth > 0;
}

void setLastWindow(HWND window) { state.newestWindow = window; }

void forgetWindow(HWND window)
{
    if (state.newestWindow == window)
        state.newestWindow = nullptr;
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

}  // namespace seam
