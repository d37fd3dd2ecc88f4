"""Window-manager stand-ins for a bare X server.

  close-window.py WINDOW  asks the window to close as a window manager's close button does
                          (WM_DELETE_WINDOW);
  close-window.py --hold  defines the window-manager atoms and keeps them alive: a bare Xvfb
                          forgets its atoms whenever its last client leaves, and a toolkit that
                          only looks the atoms up then never offers WM_DELETE_WINDOW.
"""
import sys
import time
from Xlib import X, display, protocol

d = display.Display()
protocols = d.intern_atom("WM_PROTOCOLS")
delete = d.intern_atom("WM_DELETE_WINDOW")
d.intern_atom("WM_TAKE_FOCUS")
d.intern_atom("_NET_WM_PING")
d.flush()

if sys.argv[1] == "--hold":
    while True:
        time.sleep(3600)

window = d.create_resource_object("window", int(sys.argv[1]))
event = protocol.event.ClientMessage(window=window, client_type=protocols, data=(32, [delete, X.CurrentTime, 0, 0, 0]))
window.send_event(event, event_mask=X.NoEventMask)
d.flush()
