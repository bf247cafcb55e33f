// Signals while a message box is open. SDL turns SIGINT and SIGTERM into a quit event, but no
// one reads events while a modal box waits, and the program would open its window once the box
// is answered; so while a box is open they end the process, as Ctrl+C does on Windows.
#include "platform/sdl/internal.h"

#include <pthread.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

// Set while a box is open; read in the child of a fork.
volatile sig_atomic_t boxOpen = 0;
pid_t programId = 0;

// Ends the process at once with status 0.
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
