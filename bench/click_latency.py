"""Click-to-photon on an X server: a real click (XTEST) on a window, then the time until
the pixel under the pointer changes on the screen, read back with XGetImage every
0.25 ms. Each round: the pointer on the spot, its pixel read, a left click, the wait
for the change; then a right click (the programs measured take their disc or ball
away on it) and a pause. Prints the rounds' milliseconds on one line.
    python3 click_latency.py <window id> <x> <y> <rounds>   (x, y within the window)
"""
import ctypes
import random
import sys
import time

x11 = ctypes.CDLL("libX11.so.6")
xtst = ctypes.CDLL("libXtst.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XGetImage.restype = ctypes.c_void_p
x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                          ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
x11.XGetPixel.restype = ctypes.c_ulong
x11.XGetPixel.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int]
x11.XDestroyImage = None  # a macro in Xlib: the image's own destroy function is called below
x11.XTranslateCoordinates.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_int,
                                      ctypes.c_int, ctypes.POINTER(ctypes.c_int),
                                      ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_ulong)]
x11.XFlush.argtypes = [ctypes.c_void_p]
x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
xtst.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int,
                                      ctypes.c_ulong]
libc = ctypes.CDLL("libc.so.6")
libc.free.argtypes = [ctypes.c_void_p]

display = x11.XOpenDisplay(None)
root = x11.XDefaultRootWindow(display)
window, wx, wy, rounds = int(sys.argv[1], 0), int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
rx, ry, child = ctypes.c_int(), ctypes.c_int(), ctypes.c_ulong()
x11.XTranslateCoordinates(display, window, root, wx, wy, ctypes.byref(rx), ctypes.byref(ry),
                          ctypes.byref(child))
x, y = rx.value, ry.value


def pixel():
    image = x11.XGetImage(display, root, x, y, 1, 1, 0xFFFFFFFF, 2)  # ZPixmap
    value = x11.XGetPixel(image, 0, 0) & 0xFFFFFF
    # XImage's data and the structure itself, as XDestroyImage frees them.
    data = ctypes.cast(image + 16, ctypes.POINTER(ctypes.c_void_p))[0]
    libc.free(data)
    libc.free(image)
    return value


def click(button):
    xtst.XTestFakeButtonEvent(display, button, 1, 0)
    xtst.XTestFakeButtonEvent(display, button, 0, 0)
    x11.XFlush(display)


xtst.XTestFakeMotionEvent(display, -1, x, y, 0)
x11.XSync(display, 0)
time.sleep(0.5)
results = []
for _ in range(rounds):
    before = pixel()
    start = time.perf_counter()
    click(1)
    while pixel() == before and time.perf_counter() - start < 0.5:
        time.sleep(0.00025)
    results.append((time.perf_counter() - start) * 1000)
    click(3)
    # A pause of a random length, so that the clicks fall on every phase of a frame.
    time.sleep(0.15 + random.random() * 0.05)
print(" ".join("%.2f" % r for r in results))
