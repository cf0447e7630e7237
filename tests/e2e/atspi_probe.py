"""Asks the running program what Orca asks, over AT-SPI, each answer awaited for a few seconds at
most: a query that gets no answer fails, as the frozen window a screen reader user met would."""
import subprocess
import sys

from atspi_tools import Atspi, GLib, application, named as named_in, until, walk

failures = []


def named(role, name):
    return named_in(app, role, name)


app = until(20, lambda: application(lambda child: child.get_name() == "sitewarden"))
if app is None:
    sys.exit("the program never joined the accessibility bus")
user = until(10, lambda: named("text", "用户 ID"))
if user is None:
    sys.exit("no box named 用户 ID")
if Atspi.Text.get_text(user, 0, -1) != "zhang wei":
    sys.exit("record 1 is not shown")

boundaries = [Atspi.TextBoundaryType.CHAR, Atspi.TextBoundaryType.WORD_START, Atspi.TextBoundaryType.WORD_END,
              Atspi.TextBoundaryType.SENTENCE_START, Atspi.TextBoundaryType.LINE_START]
boxes = [n for n in walk(app) if n.get_role_name() == "text"]
for box in boxes:
    count = Atspi.Text.get_character_count(box)
    value = Atspi.Text.get_text(box, 0, count)
    for offset in range(count + 1):
        for boundary in boundaries:
            try:
                got = Atspi.Text.get_text_at_offset(box, offset, boundary)
            except GLib.Error as error:
                failures.append(f"{box.get_name()!r} {value!r} at {offset} by {boundary.value_nick}: {error.message}")
                continue
            if got.content != value[got.start_offset:got.end_offset]:
                failures.append(f"{box.get_name()!r} at {offset} by {boundary.value_nick}: {got.content!r}")
        try:
            _, start, end = Atspi.Text.get_attribute_run(box, offset, False)
        except GLib.Error as error:
            failures.append(f"{box.get_name()!r} attributes at {offset}: {error.message}")
            continue
        if count and (start, end) != (0, count):
            failures.append(f"{box.get_name()!r} attributes at {offset}: a run {start}-{end} of {count}")
if failures:
    sys.exit("\n".join(failures[:20]))

# Into the list from the description box. Qt names the list after its line, which a screen reader
# then takes as the place it stands: the line must be named again after the list.
focused = []


def heard(event):
    if event.detail1 == 1:
        focused.append((event.source.get_role_name(), event.source.get_name()))


def line_named_after_list():
    if ("list", "网站") not in focused:
        return False
    return ("list item", "网上银行") in focused[focused.index(("list", "网站")):]


listener = Atspi.EventListener.new(heard)
listener.register("object:state-changed:focused")
subprocess.run(["xdotool", "key", "Tab"], check=True)
if not until(10, line_named_after_list):
    sys.exit(f"entering the list, the focus went to {focused}")
subprocess.run(["xdotool", "key", "Down"], check=True)
first = named("list item", "网上银行")
if not until(10, lambda: first.get_state_set().contains(Atspi.StateType.SELECTED)):
    sys.exit("Down did not choose the first line")
if not until(10, lambda: Atspi.Text.get_text(user, 0, -1) == "zhang wei"):
    sys.exit("the first line's entry is not shown")
