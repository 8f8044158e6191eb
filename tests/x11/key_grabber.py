"""Another X client's hold on a key, through libX11 (python3 ctypes, no other module).

    key_grabber.py hold KEYSYM MODIFIERS   grab, print "grabbed" or "in-use", then print
                                           "pressed" for each press until ended
    key_grabber.py try KEYSYM MODIFIERS    grab and let go at once; exit 0 when the grab
                                           was had, 3 when another client holds the key

MODIFIERS is a sum of X modifier bits (Shift 1, Control 4, Mod1 8, Mod4 64). Only that
one combination is grabbed, with Caps Lock and Num Lock off.
"""

import ctypes
import ctypes.util
import sys

BAD_ACCESS = 10
KEY_PRESS = 2


class XErrorEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("display", ctypes.c_void_p), ("resourceid", ctypes.c_ulong),
                ("serial", ctypes.c_ulong), ("error_code", ctypes.c_ubyte), ("request_code", ctypes.c_ubyte),
                ("minor_code", ctypes.c_ubyte)]


class XEvent(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("pad", ctypes.c_long * 24)]


def main():
    mode, keysym_name, modifiers = sys.argv[1], sys.argv[2].encode(), int(sys.argv[3])
    x = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x.XDefaultRootWindow.restype = ctypes.c_ulong
    x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x.XStringToKeysym.restype = ctypes.c_ulong
    x.XStringToKeysym.argtypes = [ctypes.c_char_p]
    x.XKeysymToKeycode.restype = ctypes.c_ubyte
    x.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
    x.XGrabKey.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int,
                           ctypes.c_int, ctypes.c_int]
    x.XUngrabKey.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_uint, ctypes.c_ulong]
    x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
    x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(XEvent)]

    errors = []
    handler_type = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.POINTER(XErrorEvent))
    handler = handler_type(lambda display, event: errors.append(event.contents.error_code) or 0)
    x.XSetErrorHandler(handler)

    display = x.XOpenDisplay(None)
    if not display:
        print("no display", flush=True)
        return 2
    root = x.XDefaultRootWindow(display)
    keycode = x.XKeysymToKeycode(display, x.XStringToKeysym(keysym_name))
    x.XGrabKey(display, keycode, modifiers, root, 1, 1, 1)  # GrabModeAsync for both
    x.XSync(display, 0)
    held = BAD_ACCESS not in errors
    if mode == "try":
        if held:
            x.XUngrabKey(display, keycode, modifiers, root)
            x.XSync(display, 0)
        return 0 if held else 3
    print("grabbed" if held else "in-use", flush=True)
    event = XEvent()
    while True:
        x.XNextEvent(display, ctypes.byref(event))
        if event.type == KEY_PRESS:
            print("pressed", flush=True)


if __name__ == "__main__":
    sys.exit(main())
