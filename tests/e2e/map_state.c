/* Stands in for a window manager on an X server that has none, to see what a client says about
   its windows before they are shown: maps every window that asks to be mapped, passes size and
   place requests on, and prints one line for each map request, the window's name and the atoms
   its _NET_WM_STATE held when it asked ("Brindlewick: _NET_WM_STATE_FULLSCREEN"). Runs until the
   X server ends. Usage: map_state */
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <stdio.h>

/* Prints the window's name and the atoms of its _NET_WM_STATE, on one line. */
static void print_state(Display *display, Window window)
{
    XTextProperty name = {0};
    XGetWMName(display, window, &name);
    printf("%s:", name.value ? (const char *)name.value : "");
    if (name.value)
        XFree(name.value);
    Atom type;
    int format;
    unsigned long count = 0, after;
    unsigned char *atoms = NULL;
    XGetWindowProperty(display, window, XInternAtom(display, "_NET_WM_STATE", False), 0, 64,
                       False, XA_ATOM, &type, &format, &count, &after, &atoms);
    for (unsigned long i = 0; atoms && i < count; ++i) {
        char *atom = XGetAtomName(display, ((Atom *)atoms)[i]);
        printf(" %s", atom);
        XFree(atom);
    }
    if (atoms)
        XFree(atoms);
    printf("\n");
    fflush(stdout);
}

int main(void)
{
    Display *display = XOpenDisplay(NULL);
    if (!display)
        return 1;
    /* Map and configure requests now come here instead of being carried out. */
    XSelectInput(display, DefaultRootWindow(display), SubstructureRedirectMask);
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapRequest) {
            print_state(display, event.xmaprequest.window);
            XMapWindow(display, event.xmaprequest.window);
        } else if (event.type == ConfigureRequest) {
            XConfigureRequestEvent *request = &event.xconfigurerequest;
            XWindowChanges changes = {request->x,     request->y,
                                      request->width, request->height,
                                      request->border_width, request->above,
                                      request->detail};
            XConfigureWindow(display, request->window, request->value_mask, &changes);
        }
    }
}
