"""Asks the running program what Orca asks, over AT-SPI, each answer awaited for a few seconds at
most: a query that gets no answer fails, as the frozen window a screen reader user met would."""
import os
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

# Moving by word in the user ID box, as Orca presents a move: the text between the old caret and the
# new one, widened to the word the caret left where a move to the right lands past its end (Orca's
# script utilities, getWordAtOffsetAdjustedForNavigation). Each move must say its word.
carets, focused, unselected = [], [], []


def word(offset):
    return Atspi.Text.get_text_at_offset(user, offset, Atspi.TextBoundaryType.WORD_START)


def said(before, after):
    text, at, left = Atspi.Text.get_text(user, 0, -1), word(after), word(before)
    if after < before:
        return text[after:at.end_offset]
    widened = at.content != left.content and left.start_offset < after <= left.end_offset
    return text[left.start_offset if widened else at.start_offset:after]


def listen(event_type, heard):
    listener = Atspi.EventListener.new(heard)
    listener.register(event_type)
    return listener


listeners = [
    listen("object:text-caret-moved", lambda e: e.source.get_name() == "用户 ID" and carets.append(e.detail1)),
    listen("object:state-changed:focused",
           lambda e: e.detail1 == 1 and focused.append((e.source.get_role_name(), e.source.get_name()))),
    # The line itself may be gone by the time it could be asked its name.
    listen("object:state-changed:selected", lambda e: e.detail1 == 0 and unselected.append(e.source)),
]
Atspi.Component.grab_focus(user)
subprocess.run(["xdotool", "key", "End", "Home"], check=True)
if not until(10, lambda: carets and carets[-1] == 0):
    sys.exit(f"Home did not move the caret to 0: {carets}")
caret = 0
for key, to, spoken in [("ctrl+Right", 6, "zhang"), ("ctrl+Right", 9, "wei"), ("ctrl+Left", 6, "wei"),
                        ("ctrl+Left", 0, "zhang")]:
    carets.clear()
    subprocess.run(["xdotool", "key", key], check=True)
    if not until(10, lambda: to in carets) or said(caret, to).strip() != spoken:
        sys.exit(f"{key} from {caret} to {to} ({carets}) would say {said(caret, to)!r}, not {spoken!r}")
    caret = to

# Into the list from the description box: the list is named, and no line until a key moves onto one;
# then Down chooses the first line, and that is heard.
Atspi.Component.grab_focus(named("text", "输入新的网站描述"))
subprocess.run(["xdotool", "key", "Tab"], check=True)
if not until(10, lambda: ("list", "网站") in focused) or ("list item", "网上银行") in focused:
    sys.exit(f"entering the list, the focus went to {focused}")
subprocess.run(["xdotool", "key", "Down"], check=True)
if not until(10, lambda: ("list item", "网上银行") in focused):
    sys.exit(f"Down onto the first line was not heard: {focused}")
first = named("list item", "网上银行")
if not until(10, lambda: first.get_state_set().contains(Atspi.StateType.SELECTED)):
    sys.exit("Down did not choose the first line")
if not until(10, lambda: Atspi.Text.get_text(user, 0, -1) == "zhang wei"):
    sys.exit("the first line's entry is not shown")

# Another machine erases that entry: the list says that its line is no longer chosen, and the boxes
# read as empty.
records = os.path.join(os.environ["SITEWARDEN_DATA"], "Sitewarden2.dta")
with open(records, "rb") as file:
    data = bytearray(file.read())
data[2:307] = b"(Deleted)".ljust(305)
with open(records + ".syncing", "wb") as file:
    file.write(data)
os.rename(records + ".syncing", records)
if not until(10, lambda: unselected and Atspi.Text.get_text(user, 0, -1) == ""):
    sys.exit(f"the erased entry's line still reads as chosen, or its boxes as filled: {unselected}")
