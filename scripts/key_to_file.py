#!/usr/bin/env python3
"""From a key press to the record file's change, as a user feels it: the program on a private Xvfb,
an entry typed, then Alt+S (save) or Alt+U (update) pressed through XTest; the time until the kernel
reports the record file written (inotify). Medians over TRIES presses, for each record file given;
only its last TRIES free slots are left free, so that every save scans the whole file.
  key_to_file.py PROGRAM TRIES FOLDER...     each FOLDER holds a Sitewarden2.dta to copy"""
import ctypes
import ctypes.util
import os
import select
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

libc = ctypes.CDLL(ctypes.util.find_library("c"), use_errno=True)
x11 = ctypes.CDLL(ctypes.util.find_library("X11"))
xtst = ctypes.CDLL(ctypes.util.find_library("Xtst"))
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x11.XFlush.argtypes = [ctypes.c_void_p]
xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
IN_MODIFY = 0x2


def xdotool(env, *args):
    return subprocess.run(["xdotool", *args], env=env, check=True, capture_output=True, text=True).stdout.strip()


def measure(display, watch, keysyms):
    """Milliseconds from pressing `keysyms` (held in order) to the next write of the watched file."""
    codes = [x11.XKeysymToKeycode(display, k) for k in keysyms]
    t0 = time.perf_counter()
    for code in codes:
        xtst.XTestFakeKeyEvent(display, code, 1, 0)
    x11.XFlush(display)
    ready, _, _ = select.select([watch], [], [], 10)
    t1 = time.perf_counter()
    for code in reversed(codes):
        xtst.XTestFakeKeyEvent(display, code, 0, 0)
    x11.XFlush(display)
    if not ready:
        return float("nan")
    os.read(watch, 4096)
    return (t1 - t0) * 1000.0


def run(program, tries, records):
    work = tempfile.mkdtemp()
    try:
        app = os.path.join(work, "app")
        os.makedirs(app)
        shutil.copy(program, os.path.join(app, "sitewarden"))
        data = os.path.join(app, "Sitewarden2.dta")
        with open(records, "rb") as f:
            content = bytearray(f.read())
        # The worst case for a save: only the last free slots are free, so each save scans the file.
        free = [i for i in range(0, len(content), 307) if content[i + 2:i + 37].rstrip(b" ") == b"(Deleted)"]
        for i in free[:-tries]:
            content[i + 2:i + 37] = b"taken".ljust(35)
        with open(data, "wb") as f:
            f.write(content)
        runtime = os.path.join(work, "runtime")
        os.makedirs(runtime, mode=0o700)
        rfd, wfd = os.pipe()
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(wfd), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, pass_fds=(wfd,))
        os.close(wfd)
        with os.fdopen(rfd) as f:
            name = ":" + f.readline().strip()
        env = dict(os.environ, DISPLAY=name, QT_QPA_PLATFORM="xcb", XDG_RUNTIME_DIR=runtime,
                   XDG_CONFIG_HOME=os.path.join(work, "config"))
        program = subprocess.Popen([os.path.join(app, "sitewarden")], env=env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            window = xdotool(env, "search", "--sync", "--onlyvisible", "--name", "^Sitewarden v[0-9.]*$").split()[0]
            xdotool(env, "windowfocus", "--sync", window)
            display = x11.XOpenDisplay(name.encode())
            watch = libc.inotify_init1(os.O_NONBLOCK | os.O_CLOEXEC)
            libc.inotify_add_watch(watch, data.encode(), IN_MODIFY)
            alt, key_s, key_u = 0xFFE9, ord("s"), ord("u")
            saves, updates = [], []
            for i in range(tries):
                # The focus is in the description box: a new entry, then its user ID and password.
                xdotool(env, "type", "--delay", "5", f"key test {i}")
                xdotool(env, "key", "--delay", "5", *["Tab"] * 7)
                xdotool(env, "type", "--delay", "5", "user")
                xdotool(env, "key", "--delay", "5", "Tab", "Tab")
                xdotool(env, "type", "--delay", "5", "password")
                time.sleep(0.05)
                saves.append(measure(display, watch, [alt, key_s]))
                time.sleep(0.05)
                # Record 1 is shown: a new password for it.
                xdotool(env, "key", "End", "shift+Home")
                xdotool(env, "type", "--delay", "5", f"changed {i}")
                time.sleep(0.05)
                updates.append(measure(display, watch, [alt, key_u]))
                time.sleep(0.05)
                xdotool(env, "key", "--delay", "5", *["shift+Tab"] * 9)
            return statistics.median(saves), statistics.median(updates)
        finally:
            program.kill()
            program.wait()
            xvfb.kill()
            xvfb.wait()
    finally:
        shutil.rmtree(work, ignore_errors=True)


def main():
    program, tries, folders = sys.argv[1], int(sys.argv[2]), sys.argv[3:]
    figures = {}
    for folder in folders:
        records = os.path.getsize(os.path.join(folder, "Sitewarden2.dta")) // 307
        figures[records] = run(program, tries, os.path.join(folder, "Sitewarden2.dta"))
        print(f"{records:>6} records: key to file, save {figures[records][0]:.1f} ms, "
              f"update {figures[records][1]:.1f} ms (medians of {tries})")
    if len(figures) == 2:
        big, small = max(figures), min(figures)
        print(f"{big} / {small} records: save +{figures[big][0] - figures[small][0]:.1f} ms, "
              f"update +{figures[big][1] - figures[small][1]:.1f} ms")


if __name__ == "__main__":
    main()
