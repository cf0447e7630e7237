"""Two machines, one list, under syncthing.sh: two Syncthing instances on 127.0.0.1 (discovery, relays,
NAT and usage reporting off, static addresses) keep two program folders in sync, with the program open
on each. A save on A is listed on B with no action; saves made on both sides at nearly the same moment
end with both entries in both record files, and addresses saved on each reach both e-mail files.
Every wait polls Syncthing's REST API, the windows over AT-SPI or the files, until a deadline.

    syncthing_pair.py PROGRAM WORK ROUNDS
"""
import json
import os
import shutil
import socket
import subprocess
import sys
import time
import urllib.request

from atspi_tools import Atspi, application, named, until as found_until

program, work, rounds = sys.argv[1], sys.argv[2], int(sys.argv[3])
processes = []


def fail(why):
    raise SystemExit(why)


def until(seconds, what, found, detail=lambda: ""):
    value = found_until(seconds, found)
    if not value:
        fail(f"after {seconds} s: {what} {detail()}")
    return value


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def field(text, width):
    return text.encode("gbk").ljust(width, b" ")


class Machine:
    def __init__(self, name):
        self.name = name
        self.root = os.path.join(work, name)
        self.home = os.path.join(self.root, "home")
        self.folder = os.path.join(self.root, "app")
        os.makedirs(self.home)
        os.makedirs(self.folder)
        shutil.copy(program, os.path.join(self.folder, "sitewarden"))
        env = dict(os.environ, HOME=self.home, STNODEFAULTFOLDER="1", STNOUPGRADE="1")
        subprocess.run(["syncthing", "generate", f"--home={self.home}", "--no-default-folder",
                        "--skip-port-probing"], env=env, check=True, capture_output=True)
        self.id = subprocess.run(["syncthing", "serve", f"--home={self.home}", "--device-id"], env=env,
                                 check=True, capture_output=True, text=True).stdout.strip()
        self.port, self.gui = free_port(), free_port()
        self.key = f"sitewarden-test-{name}"
        self.env = env
        self.pid = None

    def configure(self, peer):
        devices = "".join(f"""
    <device id="{m.id}" name="{m.name}" compression="metadata" introducer="false">
        <address>tcp://127.0.0.1:{m.port}</address>
    </device>""" for m in (self, peer))
        shared = "".join(f'<device id="{m.id}"></device>' for m in (self, peer))
        with open(os.path.join(self.home, "config.xml"), "w") as config:
            config.write(f"""<configuration version="36">
    <folder id="sitewarden" label="sitewarden" path="{self.folder}" type="sendreceive" rescanIntervalS="3600"
            fsWatcherEnabled="true" fsWatcherDelayS="1" autoNormalize="true">
        <filesystemType>basic</filesystemType>
        {shared}
        <minDiskFree unit="%">0</minDiskFree>
        <maxConflicts>10</maxConflicts>
        <pullerPauseS>2</pullerPauseS>
    </folder>{devices}
    <gui enabled="true" tls="false"><address>127.0.0.1:{self.gui}</address><apikey>{self.key}</apikey></gui>
    <options>
        <listenAddress>tcp://127.0.0.1:{self.port}</listenAddress>
        <globalAnnounceEnabled>false</globalAnnounceEnabled>
        <localAnnounceEnabled>false</localAnnounceEnabled>
        <relaysEnabled>false</relaysEnabled>
        <natEnabled>false</natEnabled>
        <urAccepted>-1</urAccepted>
        <crashReportingEnabled>false</crashReportingEnabled>
        <startBrowser>false</startBrowser>
        <autoUpgradeIntervalH>0</autoUpgradeIntervalH>
        <minHomeDiskFree unit="%">0</minHomeDiskFree>
        <reconnectionIntervalS>1</reconnectionIntervalS>
    </options>
</configuration>
""")

    def start_syncthing(self):
        log = open(os.path.join(self.root, "syncthing.log"), "w")
        processes.append(subprocess.Popen(["syncthing", "serve", f"--home={self.home}", "--no-browser",
                                           "--no-restart", "--no-upgrade"], env=self.env, stdout=log,
                                          stderr=subprocess.STDOUT))

    def rest(self, path):
        request = urllib.request.Request(f"http://127.0.0.1:{self.gui}{path}", headers={"X-API-Key": self.key})
        try:
            with urllib.request.urlopen(request, timeout=5) as answer:
                return json.load(answer)
        except OSError:
            return None

    def connected_to(self, peer):
        answer = self.rest("/rest/system/connections") or {}
        return answer.get("connections", {}).get(peer.id, {}).get("connected", False)

    def in_sync_with(self, peer):
        status = self.rest("/rest/db/status?folder=sitewarden") or {}
        completion = self.rest(f"/rest/db/completion?folder=sitewarden&device={peer.id}") or {}
        return status.get("state") == "idle" and status.get("needTotalItems", 1) == 0 \
            and completion.get("completion") == 100

    def start_program(self):
        env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(self.root, "config"), QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        process = subprocess.Popen([os.path.join(self.folder, "sitewarden")], env=env)
        processes.append(process)
        self.pid = process.pid
        self.window = until(30, f"{self.name}'s window", lambda: subprocess.run(
            ["xdotool", "search", "--all", "--onlyvisible", "--pid", str(self.pid), "--name", "^Sitewarden v"],
            capture_output=True, text=True).stdout.split()[:1])[0]
        self.app = until(20, f"{self.name} on the accessibility bus",
                         lambda: application(lambda child: child.get_process_id() == self.pid))

    def node(self, role, name):
        return named(self.app, role, name)

    def lines(self):
        listed = self.node("list", "网站")
        return [listed.get_child_at_index(i).get_name() for i in range(listed.get_child_count())] if listed else []

    def type(self, box, text):
        Atspi.EditableText.set_text_contents(self.node("text", box), text)

    def type_entry(self, description, user, password):
        self.type("输入新的网站描述", description)
        self.type("用户 ID", user)
        self.type("密码", password)

    def type_address(self, address):
        combo = self.node("combo box", "电子邮件列表")
        edit = next(combo.get_child_at_index(i) for i in range(combo.get_child_count())
                    if combo.get_child_at_index(i).get_role_name() == "text")
        Atspi.EditableText.set_text_contents(edit, address)

    def press(self, key):
        subprocess.run(["xdotool", "windowactivate", "--sync", self.window], check=True)
        subprocess.run(["xdotool", "key", key], check=True)

    def file(self, name):
        try:
            with open(os.path.join(self.folder, name), "rb") as data:
                return data.read()
        except OSError:
            return b""

    def copies(self):
        # Conflict copies not yet merged; Syncthing's own temporary files start with a dot.
        return [n for n in os.listdir(self.folder)
                if "conflict" in n and not n.endswith(".merged") and not n.startswith(".")]


def answer_merge_boxes(told):
    # The program says once which entries came back from a conflict copy: the user reads it and
    # presses Enter.
    for window in subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^同步冲突$"],
                                 capture_output=True, text=True).stdout.split():
        told.add(window)
        subprocess.run(["xdotool", "windowfocus", "--sync", window, "key", "Return"])


def descriptions(records):
    return [records[i + 2:i + 37].decode("gbk", "replace").strip() for i in range(0, len(records) - 306, 307)]


def converged(a, b, names, told):
    answer_merge_boxes(told)
    records = a.file("Sitewarden2.dta")
    state[:] = [descriptions(records), descriptions(b.file("Sitewarden2.dta")), a.copies(), b.copies(),
                os.listdir(a.folder), os.listdir(b.folder), a.in_sync_with(b), b.in_sync_with(a)]
    return records == b.file("Sitewarden2.dta") and all(field(n, 35) in records for n in names) \
        and not a.copies() and not b.copies() and a.in_sync_with(b) and b.in_sync_with(a)


state = []


def main():
    a, b = Machine("A"), Machine("B")
    a.configure(b)
    b.configure(a)
    a.start_syncthing()
    b.start_syncthing()
    until(30, "the two Syncthing instances connected", lambda: a.connected_to(b) and b.connected_to(a))
    a.start_program()
    b.start_program()
    # Side by side, as on two screens: both start at the lower right.
    subprocess.run(["xdotool", "windowmove", "--sync", b.window, "40", "40"], check=True)
    until(30, "the empty folders in sync", lambda: a.in_sync_with(b) and b.in_sync_with(a))

    # A save on A reaches B's open window with no action on B.
    a.type_entry("from A", "a-user", "a-password")
    a.press("alt+s")
    saved = time.monotonic()
    until(30, "A's entry listed on B", lambda: "from A" in b.lines())
    print(f"A's save listed on B after {time.monotonic() - saved:.1f} s")

    # Both save at nearly the same moment, or B updates an entry while A saves another.
    told = set()
    for round in range(rounds):
        before = a.file("Sitewarden2.dta")
        names = [f"A round {round}"]
        a.type_entry(names[0], "a", "p")
        if round % 2 == 0:
            names.append(f"B round {round}")
            b.type_entry(names[1], "b", "q")
        else:
            until(10, "B showing entry 1", lambda: b.node("text", "用户 ID") is not None)
            b.type("密码", f"changed in round {round}")
        a.press("alt+s")
        until(5, f"round {round}: A's save", lambda: field(names[0], 35) in a.file("Sitewarden2.dta"))
        b.press("alt+s" if round % 2 == 0 else "alt+u")
        until(60, f"round {round}: both entries in both record files", lambda: converged(a, b, names, told),
              lambda: state)
        after = a.file("Sitewarden2.dta")
        # Nothing stored before the round changed, but for the entry B updated.
        for slot in range(len(before) // 307):
            if round % 2 == 0 or slot != 0:
                if after[slot * 307:(slot + 1) * 307] != before[slot * 307:(slot + 1) * 307] \
                        and before[slot * 307 + 2:slot * 307 + 11] != b"(Deleted)":
                    fail(f"round {round}: slot {slot + 1} changed")
    print(f"{rounds} rounds; the user was told of a merge {len(told)} times")

    # An address saved on each side reaches both e-mail files.
    a.type_address("a@example.org")
    b.type_address("b@example.org")
    a.press("alt+a")
    b.press("alt+a")
    until(60, "both addresses in both e-mail files", lambda: (
        answer_merge_boxes(told) or True) and a.file("Email.dta") == b.file("Email.dta")
        and b"a@example.org" in a.file("Email.dta") and b"b@example.org" in a.file("Email.dta")
        and not a.copies() and not b.copies())


try:
    main()
finally:
    for process in processes:
        process.terminate()
    for process in processes:
        try:
            process.wait(10)
        except subprocess.TimeoutExpired:
            process.kill()
