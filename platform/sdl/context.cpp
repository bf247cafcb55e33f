// Device contexts, pixel formats and GL contexts of the Win32 layer, over SDL's GL support.
#include "platform/sdl/test_seam.h"
#include "platform/sdl/internal.h"

HDC WINAPI GetDC(HWND window)
{
    if (seam::enter("GetDC") || !win32sdl::liveWindow(window))
        return nullptr;
    return &window->dc;
}

int WINAPI ReleaseDC(HWND, HDC)
{
    // CS_OWNDC: the window keeps its device context until it is destroyed.
    seam::enter("ReleaseDC");
    return 1;
}

int WINAPI ChoosePixelFormat(HDC, const PIXELFORMATDESCRIPTOR *request)
{
    if (seam::enter("ChoosePixelFormat"))
        return 0;
    // SDL offers one kind of GL window: format 1 is the closest there is to any GL request.
    const DWORD needed = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
    return (request->dwFlags & needed) == needed ? 1 : 0;
}

BOOL WINAPI SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR *request)
{
    if (seam::enter("SetPixelFormat") || format != 1 || dc->formatSet)
        return FALSE;
    dc->format = *request;
    dc->formatSet = true;
    return TRUE;
}

// Sets SDL's GL attributes, the only place they are set, from a pixel format request. SDL picks
// a window's visual when it makes the window, before Win32 would know its pixel format: windows
// are made with SDL's defaults (double-buffered, 16-bit depth), which are what the shell asks
// for, and the request takes effect when the context is made. Fixed-function GL needs a
// compatibility context.
static void requestAttributes(const PIXELFORMATDESCRIPTOR &format, bool stereo)
{
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, (format.dwFlags & PFD_DOUBLEBUFFER) ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, format.cDepthBits);
    SDL_GL_SetAttribute(SDL_GL_STEREO, stereo ? 1 : 0);
    const int channel = format.cColorBits >= 24 ? 8 : 5;
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, channel);
}

HGLRC WINAPI wglCreateContext(HDC dc)
{
    if (seam::enter("wglCreateContext") || !dc->formatSet ||
        !win32sdl::liveWindow(dc->window))
        return nullptr;
    SDL_Window *previousWindow = SDL_GL_GetCurrentWindow();
    SDL_GLContext previous = SDL_GL_GetCurrentContext();
    const bool stereo = dc->format.dwFlags & PFD_STEREO;
    requestAttributes(dc->format, stereo);
    SDL_GLContext context = SDL_GL_CreateContext(dc->window->sdl);
    if (!context && stereo) {  // stereo is a preference, as Win32 treats it; Mesa has none
        requestAttributes(dc->format, false);
        context = SDL_GL_CreateContext(dc->window->sdl);
    }
    // SDL makes a new context current; wglCreateContext leaves the current one alone.
    SDL_GL_MakeCurrent(previousWindow, previous);
    return context ? new HGLRC__{context} : nullptr;
}

BOOL WINAPI wglMakeCurrent(HDC dc, HGLRC context)
{
    if (seam::enter("wglMakeCurrent", context ? "context" : "none"))
        return FALSE;
    if (!context) {
        SDL_GL_MakeCurrent(SDL_GL_GetCurrentWindow(), nullptr);
        return TRUE;
    }
    return dc && win32sdl::liveWindow(dc->window) &&
           SDL_GL_MakeCurrent(dc->window->sdl, context->context) == 0;
}

BOOL WINAPI wglDeleteContext(HGLRC context)
{
    seam::enter("wglDeleteContext");
    if (!context)
        return FALSE;
    if (SDL_GL_GetCurrentContext() == context->context)
        SDL_GL_MakeCurrent(SDL_GL_GetCurrentWindow(), nullptr);
    SDL_GL_DeleteContext(context->context);
    delete context;
    return TRUE;
}

BOOL WINAPI SwapBuffers(HDC dc)
{
    seam::enter("SwapBuffers");
    if (!win32sdl::liveWindow(dc->window))
        return FALSE;
    SDL_GL_SwapWindow(dc->window->sdl);
    return TRUE;
}
