"""When a program's window appears, seen from outside: an X client that listens on the root
window for the first window mapped after the program started. No library beyond the X client
library the programs themselves use (libxcb), reached through ctypes."""

import ctypes
import select
import subprocess
import time

XCB_CW_EVENT_MASK = 2048
XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY = 524288
XCB_MAP_NOTIFY = 19


class _ScreenIterator(ctypes.Structure):
    _fields_ = [("data", ctypes.POINTER(ctypes.c_uint32)), ("rem", ctypes.c_int),
                ("index", ctypes.c_int)]


class _MapNotify(ctypes.Structure):
    _fields_ = [("response_type", ctypes.c_uint8), ("pad0", ctypes.c_uint8),
                ("sequence", ctypes.c_uint16), ("event", ctypes.c_uint32),
                ("window", ctypes.c_uint32), ("override_redirect", ctypes.c_uint8)]


class MapWatch:
    """Watches the root window of $DISPLAY for windows being mapped."""

    def __init__(self):
        self.xcb = ctypes.CDLL("libxcb.so.1")
        self.libc = ctypes.CDLL("libc.so.6")
        self.xcb.xcb_connect.restype = ctypes.c_void_p
        self.xcb.xcb_connect.argtypes = [ctypes.c_char_p, ctypes.c_void_p]
        for name in ("xcb_get_setup", "xcb_poll_for_event"):
            getattr(self.xcb, name).restype = ctypes.c_void_p
            getattr(self.xcb, name).argtypes = [ctypes.c_void_p]
        self.xcb.xcb_setup_roots_iterator.restype = _ScreenIterator
        self.xcb.xcb_setup_roots_iterator.argtypes = [ctypes.c_void_p]
        self.xcb.xcb_get_file_descriptor.argtypes = [ctypes.c_void_p]
        self.xcb.xcb_flush.argtypes = [ctypes.c_void_p]
        self.xcb.xcb_change_window_attributes.argtypes = [
            ctypes.c_void_p, ctypes.c_uint32, ctypes.c_uint32, ctypes.POINTER(ctypes.c_uint32)]
        self.libc.free.argtypes = [ctypes.c_void_p]
        self.connection = self.xcb.xcb_connect(None, None)
        root = self.xcb.xcb_setup_roots_iterator(self.xcb.xcb_get_setup(self.connection)).data[0]
        mask = ctypes.c_uint32(XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY)
        self.xcb.xcb_change_window_attributes(self.connection, root, XCB_CW_EVENT_MASK,
                                              ctypes.byref(mask))
        self.xcb.xcb_flush(self.connection)
        self.fd = self.xcb.xcb_get_file_descriptor(self.connection)

    def _drain(self):
        """The windows mapped among the events that have come: ordinary windows only, not the
        menus and tooltips that are placed without the window manager."""
        mapped = []
        while True:
            event = self.xcb.xcb_poll_for_event(self.connection)
            if not event:
                return mapped
            notify = ctypes.cast(event, ctypes.POINTER(_MapNotify)).contents
            if notify.response_type & 0x7F == XCB_MAP_NOTIFY and not notify.override_redirect:
                mapped.append(notify.window)
            self.libc.free(event)

    def time_to_map(self, command, timeout_s=30, **popen):
        """Starts `command` and gives it with the milliseconds from its start to its first
        window mapped (None when none was within the time)."""
        self._drain()
        started = time.monotonic()
        # A session of its own: the program and its web engine processes end together.
        process = subprocess.Popen(command, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL, start_new_session=True, **popen)
        while time.monotonic() - started < timeout_s:
            select.select([self.fd], [], [], 0.05)
            if self._drain():
                return process, (time.monotonic() - started) * 1000.0
        return process, None
