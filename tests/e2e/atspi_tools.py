"""What the AT-SPI clients of the desktop tests share: waiting with a deadline, and the program's
accessible objects found by role and name."""
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

# An answer awaited for a few seconds at most: a query that gets none fails, as the frozen window a
# screen reader user would meet.
Atspi.set_timeout(5000, 5000)


def until(seconds, found):
    """found()'s first true value within the time, else None; AT-SPI's events are delivered meanwhile."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        value = found()
        if value:
            return value
        GLib.MainContext.default().iteration(False)
        time.sleep(0.05)
    return None


def application(matches):
    """The application on the accessibility bus that `matches`."""
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        child = desktop.get_child_at_index(i)
        if child is not None and matches(child):
            return child
    return None


def walk(node):
    yield node
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child is not None:
            yield from walk(child)


def named(app, role, name):
    return next((n for n in walk(app) if n.get_role_name() == role and n.get_name() == name), None)
