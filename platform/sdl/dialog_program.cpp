// Message boxes through the desktop's dialog programs. Each program is run directly, without a
// shell, with its output discarded, and waited for as long as the user takes, as a Win32 box
// waits. Every form keeps the keys of SDL's X11 box and of Windows' Yes/No box: Return means Yes,
// Escape or closing the box means No. A program that is not installed, or that ends without
// showing the box (it cannot reach a display), counts as not shown, and the next one is tried.
#include "platform/sdl/dialog_program.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

extern char **environ;

namespace {

// The exit statuses each program gives, read from zenity 3.44 and kdialog 22.12 themselves
// (Return, Escape, the window closed, each button): zenity --question with ZENITY_CANCEL and
// ZENITY_ESC set to 3 gives 0 for Yes (Return), 3 for No, Escape and closing; --warning 0
// for OK, 3 for Escape and closing; with no display 1 (GTK's), so its own No status, 1,
// is moved away from that. kdialog --yesno gives 0 for Yes (Return), 1 for No, 2 for Escape and
// closing; --sorry and --msgbox 0 for OK, 2 for Escape and closing; with no display Qt aborts it.
const int kZenityNo = 3;
const int kKdialogNo = 1;
const int kKdialogClosed = 2;

// One way to show the box: the program's arguments, what it adds to the environment, and the
// exit statuses that mean No, Escape or closing (0 means Yes or OK).
struct Dialog {
    std::vector<std::string> arguments;
    std::vector<std::string> environment;
    std::vector<int> noStatuses;
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
                  {kZenityNo}};
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
                  {kKdialogNo, kKdialogClosed}};
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
    const std::vector<int> &no = dialog.noStatuses;
    if (std::find(no.begin(), no.end(), WEXITSTATUS(status)) != no.end())
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
