// Message boxes through the desktop's dialog programs. Each program is run directly, without a
// shell, with its output discarded, and waited for as long as the user takes, as a Win32 box
// waits. Every form keeps the keys of SDL's X11 box and of Windows' Yes/No box: Return means Yes,
// Escape or closing the box means No. A program that is not installed, or that ends without
// showing the box (it cannot reach a display), counts as not shown, and the next one is tried.
#include "platform/sdl/dialog_program.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

extern char **environ;

namespace {

// The exit status zenity is told to give for No, Escape and closing (ZENITY_CANCEL, ZENITY_ESC):
// its own, 1, is also GTK's when it cannot open a display, so a box never shown would read as No.
const int kZenityNo = 3;
// kdialog exits 1 for No; when it cannot reach a display, Qt aborts it instead.
const int kKdialogNo = 1;

// One way to show the box: the program's arguments, what it adds to the environment, and the
// exit status that means No (0 means Yes or OK).
struct Dialog {
    std::vector<std::string> arguments;
    std::vector<std::string> environment;
    int noStatus;
};

// Whether the box asks Yes or No (otherwise it has one OK button).
bool asksYesNo(UINT type) { return (type & MB_TYPEMASK) == MB_YESNO; }

// Whether the box carries the warning icon.
bool warns(UINT type) { return (type & MB_ICONMASK) == MB_ICONWARNING; }

// zenity's box: its question dialog (question icon) with Yes as its OK button, the one Return
// presses, and No as its cancel button; or its warning or information box with one OK button.
Dialog zenity(LPCSTR text, LPCSTR caption, UINT type)
{
    const std::string no = "=" + std::to_string(kZenityNo);
    Dialog dialog{{"zenity", asksYesNo(type) ? "--question" : warns(type) ? "--warning" : "--info",
                   "--title", caption, "--text", text, "--no-markup", "--no-wrap"},
                  {"ZENITY_CANCEL" + no, "ZENITY_ESC" + no},
                  kZenityNo};
    if (asksYesNo(type))
        dialog.arguments.insert(dialog.arguments.end(),
                                {"--ok-label", "Yes", "--cancel-label", "No"});
    return dialog;
}

// kdialog's box: its Yes/No question (question icon, Yes the default, Escape No), or its warning
// ("sorry") or message box with one OK button.
Dialog kdialog(LPCSTR text, LPCSTR caption, UINT type)
{
    return Dialog{{"kdialog", "--title", caption,
                   asksYesNo(type) ? "--yesno" : warns(type) ? "--sorry" : "--msgbox", text},
                  {},
                  kKdialogNo};
}

// The dialogs to try, the desktop's own program first: kdialog under KDE Plasma, else zenity.
std::vector<Dialog> dialogsFor(LPCSTR text, LPCSTR caption, UINT type)
{
    std::vector<Dialog> dialogs{zenity(text, caption, type), kdialog(text, caption, type)};
    const char *desktop = getenv("XDG_CURRENT_DESKTOP");
    if (desktop && strstr(desktop, "KDE"))
        std::swap(dialogs[0], dialogs[1]);
    return dialogs;
}

// C strings of the strings, ending in a null pointer, as exec takes them.
std::vector<char *> nullTerminated(const std::vector<std::string> &strings, char **more = nullptr)
{
    std::vector<char *> list;
    for (const std::string &string : strings)
        list.push_back(const_cast<char *>(string.c_str()));
    for (; more && *more; ++more)
        list.push_back(*more);
    list.push_back(nullptr);
    return list;
}

// Whether the child's exec succeeded: its end of the pipe closed with no errno written into it.
bool execSucceeded(int pipe)
{
    int error = 0;
    ssize_t got;
    while ((got = read(pipe, &error, sizeof error)) < 0 && errno == EINTR) {
    }
    return got == 0;
}

// Waits for the child to end; its wait status.
int waitFor(pid_t child)
{
    int status = -1;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

// Runs the dialog's program and waits for it; its wait status, or -1 when it could not be started
// (not installed). Its additions come first in the environment, where lookups find them first.
int run(const Dialog &dialog)
{
    std::vector<char *> arguments = nullTerminated(dialog.arguments);
    std::vector<char *> environment = nullTerminated(dialog.environment, environ);
    int started[2];  // closed by a successful exec; a failed one writes its errno into it
    if (pipe2(started, O_CLOEXEC) != 0)
        return -1;
    const int quiet = open("/dev/null", O_RDWR | O_CLOEXEC);
    // fork, not posix_spawn: the layer's fork hook ties the dialog's life to the program's, so a
    // signal that ends the program while the box is open takes the box with it.
    const pid_t child = fork();
    if (child == 0) {
        for (int stream = 0; quiet >= 0 && stream <= 2; ++stream)
            dup2(quiet, stream);
        execvpe(arguments[0], arguments.data(), environment.data());
        const int error = errno;
        (void)!write(started[1], &error, sizeof error);
        _exit(127);
    }
    if (quiet >= 0)
        close(quiet);
    close(started[1]);
    const bool ran = child > 0 && execSucceeded(started[0]);
    close(started[0]);
    const int status = child > 0 ? waitFor(child) : -1;
    return ran ? status : -1;
}

// The box's answer from the dialog's wait status, or -1 when the dialog did not show the box.
int answerFrom(const Dialog &dialog, int status, UINT type)
{
    if (status < 0 || !WIFEXITED(status))
        return -1;
    if (WEXITSTATUS(status) == 0)
        return asksYesNo(type) ? IDYES : IDOK;
    if (WEXITSTATUS(status) == dialog.noStatus)
        return asksYesNo(type) ? IDNO : IDOK;
    return -1;
}

}  // namespace

namespace win32sdl {

int askDialogProgram(LPCSTR text, LPCSTR caption, UINT type)
{
    for (const Dialog &dialog : dialogsFor(text, caption, type)) {
        const int answer = answerFrom(dialog, run(dialog), type);
        if (answer >= 0)
            return answer;
    }
    return -1;
}

}  // namespace win32sdl
