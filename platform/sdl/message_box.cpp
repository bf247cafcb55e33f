// Message boxes of the Win32 layer: SDL's own box, else the desktop's dialog programs, else the
// text on stderr; and the signals that arrive while one is open.
// SDL turns SIGINT and SIGTERM into a quit event, but no one reads events while a modal box
// waits, and the program would open its window once the box is answered; so while a box is open
// a signal ends the process at once with status 0. A signal is a request to close, as the
// window's close button is (once the window is open, SDL's quit event closes it), and closing
// exits 0. Windows has no counterpart: a GUI program there gets no console signal.
#include "platform/sdl/test_seam.h"
#include "platform/sdl/dialog_program.h"
#include "platform/sdl/internal.h"

#include <pthread.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Set while a box is open; read in the child of a fork.
volatile sig_atomic_t boxOpen = 0;
pid_t programId = 0;

// Ends the process at once with status 0: the signal asked the program to close.
void endProgram(int) { _exit(0); }

// SDL shows X11 boxes from a forked child, and the layer runs dialog programs in one: tie the
// child's life to the program's, so a signal that ends the program takes the box with it.
void endChildWithProgram()
{
    if (!boxOpen)
        return;
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != programId)  // the program ended before the tie was made
        _exit(0);
}

// Keeps SDL from running dialog programs while it lives. SDL 2.26 (and after it 2.32 and SDL 3
// under sdl2-compat) hands a box its own driver cannot show to zenity, where Return presses the
// first button (No), Escape and closing answer with no button (which meant full screen), and a
// zenity that cannot open a display counts as shown; the layer runs the dialog programs itself
// instead. The search path is set to one in which no program is found.
class DialogProgramsHiddenFromSdl {
public:
    // Sets a search path that finds nothing, keeping the one it replaces.
    DialogProgramsHiddenFromSdl() : hadPath(getenv("PATH") != nullptr)
    {
        if (hadPath)
            path = getenv("PATH");
        setenv("PATH", "/dev/null", 1);
    }
    // Gives the search path back.
    ~DialogProgramsHiddenFromSdl()
    {
        if (hadPath)
            setenv("PATH", path.c_str(), 1);
        else
            unsetenv("PATH");
    }
    DialogProgramsHiddenFromSdl(const DialogProgramsHiddenFromSdl &) = delete;
    DialogProgramsHiddenFromSdl &operator=(const DialogProgramsHiddenFromSdl &) = delete;

private:
    bool hadPath;
    std::string path;
};

// Shows the box with SDL's own box (X11's); the answer, or -1 when SDL could not show it.
int askSdl(LPCSTR text, LPCSTR caption, UINT type)
{
    const SDL_MessageBoxButtonData yesNo[] = {
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, "No"},
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "Yes"},
    };
    const SDL_MessageBoxButtonData ok[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDOK,
         "OK"},
    };
    const bool question = (type & MB_TYPEMASK) == MB_YESNO;
    const bool warning = (type & MB_ICONMASK) == MB_ICONWARNING;
    const SDL_MessageBoxData box = {
        warning ? SDL_MESSAGEBOX_WARNING : SDL_MESSAGEBOX_INFORMATION,
        nullptr,
        caption,
        text,
        question ? 2 : 1,
        question ? yesNo : ok,
        nullptr};
    const DialogProgramsHiddenFromSdl ownBoxOnly;
    int button = -1;
    if (SDL_ShowMessageBox(&box, &button) != 0)
        return -1;
    // A box closed from its frame answers with no button: closing means what Escape does.
    return button >= 0 ? button : question ? IDNO : IDOK;
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
    int answer = askSdl(text, caption, type);
    if (answer < 0)
        answer = win32sdl::askDialogProgram(text, caption, type);
    if (answer >= 0)
        return answer;
    // No box could be shown (no display): keep the text where a user can still read it.
    fprintf(stderr, "%s: %s\n", caption, text);
    return 0;
}
