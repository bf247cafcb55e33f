// The application shell: process entry, the GL window of each pass, the message loop and the
// window procedure. The only code that talks to the window system.
#pragma once

#include "platform/win32.h"

#include <cstdint>

class Kaleidoscope;

struct Application {
    HINSTANCE instance;
    const char *className;
};

// Creation settings of a window.
struct WindowSettings {
    Application *application;
    const char *title;
    int32_t width;  // desktop size, in both modes
    int32_t height;
    int32_t colourBits;
    int32_t fullScreen;  // mode of the window of this pass
};

// The shell's window record, carried by the window as its user data.
struct AppWindow {
    Kaleidoscope *renderer;
    HWND window;
    HDC deviceContext;
    HGLRC glContext;
    WindowSettings settings;
    int32_t active;  // 1: draw whenever the queue is empty; 0: wait for the next message
};

// The message that flips full-screen and windowed display by ending the pass.
const UINT kModeSwitchMessage = WM_USER + 1;

// The process entry: asks for full-screen, then runs passes until quit. Returns the exit status:
// 0 after a quit, 1 when a window could not be made, -1 when the window class could not be.
int runApplication(HINSTANCE instance);

// Registers the "OpenGL" window class.
bool registerGLClass(const Application &application);
// Opens the window of one pass with its device and GL contexts, releasing them on failure.
bool createRenderWindow(AppWindow &appWindow);
// Closes what createRenderWindow opened; safe on a partly or fully closed record.
void destroyRenderWindow(AppWindow &appWindow);

// Handles messages for the window until WM_QUIT, drawing whenever the queue is empty.
void runMessageLoop(AppWindow &appWindow);
// Draws, swaps and paces one frame.
void presentFrame(AppWindow &appWindow);
// Answers snapshot keys pressed just before the pass ended with a frame drawn for them.
void writeSnapshotsLeftQueued(AppWindow &appWindow);

// The window procedure of the "OpenGL" class: quit, mode switch, resizing and keys.
LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Acts on a key-down that commands the picture (patterns, mirrors, feedback, snapshots); other
// codes do nothing.
void runKeyCommand(Kaleidoscope &renderer, WPARAM code);
