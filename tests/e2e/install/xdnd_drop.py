#!/usr/bin/env python3
"""Drops files on an X window the way a desktop file manager does: through the XDND protocol,
offering the files as text/uri-list. Wine turns such a drop on a window that accepts files
(WS_EX_ACCEPTFILES, no OLE drop target) into WM_DROPFILES with the files' Windows paths.

    xdnd_drop.py <target X window> <root x> <root y> <unix path>...

Exits 0 once the target has said the drop is finished, 1 when it refused it or did not
answer within 20 seconds. Only libX11 through ctypes is needed."""
import ctypes
import ctypes.util
import sys
import time
import urllib.parse

X = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")

Atom = ctypes.c_ulong
Window = ctypes.c_ulong
ClientMessage, SelectionRequest, SelectionNotify = 33, 30, 31
PropModeReplace, CurrentTime = 0, 0


class ClientMessageEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", Window), ("message_type", Atom),
                ("format", ctypes.c_int), ("l", ctypes.c_long * 5)]


class SelectionRequestEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("owner", Window), ("requestor", Window),
                ("selection", Atom), ("target", Atom), ("property", Atom), ("time", ctypes.c_ulong)]


class SelectionEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("requestor", Window), ("selection", Atom),
                ("target", Atom), ("property", Atom), ("time", ctypes.c_ulong)]


class Event(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("client", ClientMessageEvent), ("request", SelectionRequestEvent),
                ("selection", SelectionEvent), ("pad", ctypes.c_long * 24)]


X.XOpenDisplay.restype = ctypes.c_void_p
X.XOpenDisplay.argtypes = [ctypes.c_char_p]
X.XInternAtom.restype = Atom
X.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
X.XDefaultRootWindow.restype = Window
X.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
X.XCreateSimpleWindow.restype = Window
X.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, Window, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                                  ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_ulong]
X.XSetSelectionOwner.argtypes = [ctypes.c_void_p, Atom, Window, ctypes.c_ulong]
X.XSendEvent.argtypes = [ctypes.c_void_p, Window, ctypes.c_int, ctypes.c_long, ctypes.POINTER(Event)]
X.XChangeProperty.argtypes = [ctypes.c_void_p, Window, Atom, Atom, ctypes.c_int, ctypes.c_int,
                              ctypes.c_char_p, ctypes.c_int]
X.XPending.argtypes = [ctypes.c_void_p]
X.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(Event)]
X.XFlush.argtypes = [ctypes.c_void_p]


def main():
    target, x, y = int(sys.argv[1], 0), int(sys.argv[2]), int(sys.argv[3])
    uris = "".join("file://" + urllib.parse.quote(p.encode("utf-8") if isinstance(p, str) else p) + "\r\n"
                   for p in (a.encode("utf-8", "surrogateescape") for a in sys.argv[4:]))
    display = X.XOpenDisplay(None)
    if not display:
        sys.exit("no X display")
    atom = lambda name: X.XInternAtom(display, name.encode(), 0)
    uri_list, selection = atom("text/uri-list"), atom("XdndSelection")
    source = X.XCreateSimpleWindow(display, X.XDefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0)
    X.XSetSelectionOwner(display, selection, source, CurrentTime)

    def send(kind, l1=0, l2=0, l3=0, l4=0):
        event = Event()
        event.client.type = ClientMessage
        event.client.window = target
        event.client.message_type = atom(kind)
        event.client.format = 32
        event.client.l[:] = [source, l1, l2, l3, l4]
        X.XSendEvent(display, target, 0, 0, ctypes.byref(event))
        X.XFlush(display)

    send("XdndEnter", 5 << 24, uri_list)
    send("XdndPosition", 0, (x << 16) | y, CurrentTime, atom("XdndActionCopy"))
    dropped = False
    deadline = time.time() + 20
    while time.time() < deadline:
        if not X.XPending(display):
            time.sleep(0.005)
            continue
        event = Event()
        X.XNextEvent(display, ctypes.byref(event))
        if event.type == SelectionRequest:
            request = event.request
            reply = Event()
            reply.selection.type = SelectionNotify
            reply.selection.requestor = request.requestor
            reply.selection.selection = request.selection
            reply.selection.target = request.target
            reply.selection.time = request.time
            reply.selection.property = 0
            if request.target == uri_list:
                data = uris.encode("ascii")
                X.XChangeProperty(display, request.requestor, request.property, uri_list, 8, PropModeReplace,
                                  data, len(data))
                reply.selection.property = request.property
            X.XSendEvent(display, request.requestor, 0, 0, ctypes.byref(reply))
            X.XFlush(display)
        elif event.type == ClientMessage and event.client.message_type == atom("XdndStatus"):
            if not event.client.l[1] & 1:
                sys.exit("the window does not take the drop")
            if not dropped:
                send("XdndDrop", 0, CurrentTime)
                dropped = True
        elif event.type == ClientMessage and event.client.message_type == atom("XdndFinished"):
            return
    sys.exit("no answer to the drop")


if __name__ == "__main__":
    main()
