// Stands in for a window manager on an X server that has none, to see what a client says about
// its windows before they are shown: maps every window that asks to be, passes size and place
// requests on, and prints a line for each map request with the window's name and the atoms its
// _NET_WM_STATE held then ("Brindlewick: _NET_WM_STATE_FULLSCREEN"). Runs until the X server
// ends. Usage: map_state
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <stdio.h>

// Prints the window's name and the atoms of its _NET_WM_STATE, on one line.
static void print_state(Display *display, Window window)
{
    XTextProperty name = {0};
    Atom type, *atoms = NULL;
    int format;
    unsigned long count = 0, after;
    XGetWMName(display, window, &name);
    printf("%s:", name.value ? (const char *)name.value : "");
    XGetWindowProperty(display, window, XInternAtom(display, "_NET_WM_STATE", False), 0, 64,
                       False, XA_ATOM, &type, &format, &count, &after, (unsigned char **)&atoms);
    for (unsigned long i = 0; i < count; ++i)
        printf(" %s", XGetAtomName(display, atoms[i]));
    printf("\n");
    fflush(stdout);
}

int main(void)
{
    Display *display = XOpenDisplay(NULL);
    if (!display)
        return 1;
    // Map and configure requests now come here instead of being carried out.
    XSelectInput(display, DefaultRootWindow(display), SubstructureRedirectMask);
    for (XEvent event;;) {
        XNextEvent(display, &event);
        if (event.type == MapRequest) {
            print_state(display, event.xmaprequest.window);
            XMapWindow(display, event.xmaprequest.window);
        } else if (event.type == ConfigureRequest) {
            XConfigureRequestEvent *asked = &event.xconfigurerequest;
            XWindowChanges changes = {asked->x, asked->y, asked->width, asked->height,
                                      asked->border_width, asked->above, asked->detail};
            XConfigureWindow(display, asked->window, asked->value_mask, &changes);
        }
    }
}
