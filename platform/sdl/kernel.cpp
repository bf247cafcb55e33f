// Kernel services of the Win32 layer: embedded resources, the performance counter, sleep and
// its timer resolution.
#include "platform/sdl/embedded_resources.h"
#include "platform/sdl/test_seam.h"

#include <SDL2/SDL.h>

#include <cstring>

HMODULE WINAPI GetModuleHandleA(LPCSTR)
{
    // One module: the program, whose resources are the embedded table.
    static char module;
    return reinterpret_cast<HMODULE>(&module);
}

HRSRC WINAPI FindResourceA(HMODULE, LPCSTR name, LPCSTR type)
{
    if (seam::enter("FindResourceA") || type != RT_RCDATA)
        return nullptr;
    for (size_t i = 0; i < kEmbeddedResourceCount; ++i)
        if (std::strcmp(kEmbeddedResources[i].name, name) == 0)
            return reinterpret_cast<HRSRC>(const_cast<EmbeddedResource *>(&kEmbeddedResources[i]));
    return nullptr;
}

DWORD WINAPI SizeofResource(HMODULE, HRSRC resource)
{
    return resource ? reinterpret_cast<const EmbeddedResource *>(resource)->size : 0;
}

HGLOBAL WINAPI LoadResource(HMODULE, HRSRC resource)
{
    // The bytes are part of the program image already: loading is finding them.
    return seam::enter("LoadResource") ? nullptr : resource;
}

LPVOID WINAPI LockResource(HGLOBAL loaded)
{
    if (!loaded)
        return nullptr;
    return const_cast<unsigned char *>(static_cast<const EmbeddedResource *>(loaded)->data);
}

BOOL WINAPI QueryPerformanceCounter(LARGE_INTEGER *count)
{
    int64_t frequency;
    if (!seam::counter(&frequency, &count->QuadPart))
        count->QuadPart = static_cast<int64_t>(SDL_GetPerformanceCounter());
    return TRUE;
}

BOOL WINAPI QueryPerformanceFrequency(LARGE_INTEGER *frequency)
{
    int64_t value;
    if (!seam::counter(&frequency->QuadPart, &value))
        frequency->QuadPart = static_cast<int64_t>(SDL_GetPerformanceFrequency());
    return TRUE;
}

void WINAPI Sleep(DWORD milliseconds)
{
    // Under a test's hand-driven counter the time passes on the counter, not the wall clock.
    if (!seam::sleepOnCounter(milliseconds))
        SDL_Delay(milliseconds);
}

MMRESULT WINAPI timeBeginPeriod(UINT)
{
    // SDL_Delay already sleeps to the millisecond here: there is no coarser timer to raise.
    return TIMERR_NOERROR;
}

MMRESULT WINAPI timeEndPeriod(UINT)
{
    // Nothing was raised by timeBeginPeriod, so nothing is put back.
    return TIMERR_NOERROR;
}
