#!/usr/bin/env python3
"""Asks an X window to close, as a title bar's close box does (WM_DELETE_WINDOW).

Under Xvfb there is no window manager to do it; this talks to libX11 directly.
Usage: fermer_fenetre.py WINDOW_ID
"""
import ctypes
import sys

x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XInternAtom.restype = ctypes.c_ulong
x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
x11.XFlush.argtypes = [ctypes.c_void_p]
x11.XCloseDisplay.argtypes = [ctypes.c_void_p]


class XClientMessageEvent(ctypes.Structure):
    _fields_ = [
        ("type", ctypes.c_int),
        ("serial", ctypes.c_ulong),
        ("send_event", ctypes.c_int),
        ("display", ctypes.c_void_p),
        ("window", ctypes.c_ulong),
        ("message_type", ctypes.c_ulong),
        ("format", ctypes.c_int),
        ("data", ctypes.c_long * 5),
    ]


class XEvent(ctypes.Union):
    _fields_ = [("xclient", XClientMessageEvent), ("pad", ctypes.c_long * 24)]


CLIENT_MESSAGE = 33

affichage = x11.XOpenDisplay(None)
if not affichage:
    sys.exit("no X display")
fenetre = int(sys.argv[1], 0)
evenement = XEvent()
evenement.xclient.type = CLIENT_MESSAGE
evenement.xclient.window = fenetre
evenement.xclient.message_type = x11.XInternAtom(affichage, b"WM_PROTOCOLS", 0)
evenement.xclient.format = 32
evenement.xclient.data[0] = x11.XInternAtom(affichage, b"WM_DELETE_WINDOW", 0)
evenement.xclient.data[1] = 0  # CurrentTime
x11.XSendEvent(affichage, fenetre, 0, 0, ctypes.byref(evenement))
x11.XFlush(affichage)
x11.XCloseDisplay(affichage)
