/* X helper for tests/playtest.sh: finds where the keyboard and a window are,
   asks a window to close the way a window manager's close button does, and
   measures the darkest pixel of a rectangle. */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static int Usage(void)
{
    fprintf(stderr, "usage: xprobe focus\n"
                    "       xprobe toplevel WINDOW\n"
                    "       xprobe close WINDOW\n"
                    "       xprobe darkest WINDOW X Y WIDTH HEIGHT\n");
    return 2;
}

/* The window with the keyboard focus: 1 when it follows the pointer, 0 none. */
static int Focus(Display *display)
{
    Window focus;
    int revert;
    XGetInputFocus(display, &focus, &revert);
    printf("%lu\n", (unsigned long)focus);
    return 0;
}

/* The child of the root that holds the window: a window manager's frame, or
   the window itself where none reparents it. */
static int TopLevel(Display *display, Window window)
{
    for (;;) {
        Window root, parent, *children = NULL;
        unsigned count = 0;
        if (!XQueryTree(display, window, &root, &parent, &children, &count)) {
            fprintf(stderr, "xprobe: no window %lu\n", (unsigned long)window);
            return 1;
        }
        if (children)
            XFree(children);
        if (parent == root || parent == None)
            break;
        window = parent;
    }
    printf("%lu\n", (unsigned long)window);
    return 0;
}

/* WM_PROTOCOLS / WM_DELETE_WINDOW, as sent for a click on the close box. */
static int Close(Display *display, Window window)
{
    XEvent event;
    memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = (long)XInternAtom(display, "WM_DELETE_WINDOW", False);
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
    return 0;
}

/* Prints the lowest luminance (0-255) in the rectangle, window coordinates. */
static int Darkest(Display *display, Window window, int x, int y, int width, int height)
{
    XImage *image = XGetImage(display, window, x, y, (unsigned)width, (unsigned)height,
                              AllPlanes, ZPixmap);
    if (!image) {
        fprintf(stderr, "xprobe: cannot read %dx%d+%d+%d\n", width, height, x, y);
        return 1;
    }
    int darkest = 255;
    for (int row = 0; row < height; ++row)
        for (int col = 0; col < width; ++col) {
            unsigned long pixel = XGetPixel(image, col, row);
            int r = (int)((pixel & image->red_mask) >> 16) & 0xFF;
            int g = (int)((pixel & image->green_mask) >> 8) & 0xFF;
            int b = (int)(pixel & image->blue_mask) & 0xFF;
            int luma = (r * 299 + g * 587 + b * 114) / 1000;
            if (luma < darkest)
                darkest = luma;
        }
    XDestroyImage(image);
    printf("%d\n", darkest);
    return 0;
}

int main(int argc, char **argv)
{
    if (argc < 2)
        return Usage();
    Display *display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "xprobe: cannot open display\n");
        return 1;
    }
    Window window = argc > 2 ? (Window)strtoul(argv[2], NULL, 0) : None;
    int result;
    if (strcmp(argv[1], "focus") == 0 && argc == 2)
        result = Focus(display);
    else if (strcmp(argv[1], "toplevel") == 0 && argc == 3)
        result = TopLevel(display, window);
    else if (strcmp(argv[1], "close") == 0 && argc == 3)
        result = Close(display, window);
    else if (strcmp(argv[1], "darkest") == 0 && argc == 7)
        result = Darkest(display, window, atoi(argv[3]), atoi(argv[4]), atoi(argv[5]), atoi(argv[6]));
    else
        result = Usage();
    XCloseDisplay(display);
    return result;
}
