// Message boxes of the Win32 layer, over SDL's, and the signals that arrive while one is open.
// SDL turns SIGINT and SIGTERM into a quit event, but no one reads events while a modal box
// waits, and the program would open its window once the box is answered; so while a box is open
// a signal ends the process at once with status 0. A signal is a request to close, as the
// window's close button is (once the window is open, SDL's quit event closes it), and closing
// exits 0. Windows has no counterpart: a GUI program there gets no console signal.
#include "platform/sdl/test_seam.h"
#include "platform/sdl/internal.h"

#include <pthread.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cstdio>
#include <string>

namespace {

// Set while a box is open; read in the child of a fork.
volatile sig_atomic_t boxOpen = 0;
pid_t programId = 0;

// Ends the process at once with status 0: the signal asked the program to close.
void endProgram(int) { _exit(0); }

// SDL shows X11 boxes from a forked child: tie the child's life to the program's, so a signal
// that ends the program takes the box with it.
void endChildWithProgram()
{
    if (!boxOpen)
        return;
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != programId)  // the program ended before the tie was made
        _exit(0);
}

}  // namespace

namespace win32sdl {

InterruptEndsProgram::InterruptEndsProgram()
{
    [[maybe_unused]] static const int tied = pthread_atfork(nullptr, nullptr, endChildWithProgram);
    programId = getpid();
    boxOpen = 1;
    struct sigaction endAtOnce = {};
    endAtOnce.sa_handler = endProgram;
    sigaction(SIGINT, &endAtOnce, &previousInterrupt);
    sigaction(SIGTERM, &endAtOnce, &previousTerminate);
}

InterruptEndsProgram::~InterruptEndsProgram()
{
    sigaction(SIGINT, &previousInterrupt, nullptr);
    sigaction(SIGTERM, &previousTerminate, nullptr);
    boxOpen = 0;
}

}  // namespace win32sdl

int WINAPI MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT type)
{
    const win32sdl::InterruptEndsProgram whileOpen;
    seam::enter("MessageBoxA", [&] { return std::string(caption) + ": " + text; });
    if (seam::messageBoxAnswer() >= 0)
        return seam::messageBoxAnswer();
    const SDL_MessageBoxButtonData yesNo[] = {
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, "No"},
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "Yes"},
    };
    const SDL_MessageBoxButtonData ok[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDOK,
         "OK"},
    };
    const bool question = (type & 0xF) == MB_YESNO;
    const SDL_MessageBoxData box = {
        (type & 0xF0) == MB_ICONWARNING ? SDL_MESSAGEBOX_WARNING : SDL_MESSAGEBOX_INFORMATION,
        nullptr,
        caption,
        text,
        question ? 2 : 1,
        question ? yesNo : ok,
        nullptr};
    int button = 0;
    if (SDL_ShowMessageBox(&box, &button) != 0) {
        // No box could be shown (no display): keep the text where a user can still read it.
        fprintf(stderr, "%s: %s\n", caption, text);
        return 0;
    }
    return button;
}
