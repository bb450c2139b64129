#!/usr/bin/python3
"""Reads Varnock's windows as a screen reader does, through AT-SPI, and checks them.

Run inside a private X display and D-Bus session (accessibility_test.sh does both). Starts the
accessibility bus and the program, reads the whole tree of the main window, the file-or-folder
picker and the Patches window, checks every control's role, name and value, follows the focus
events the Tab key raises, and ends every process it started. Exit status: 0 when all holds,
1 with a message for each fault, 77 when the accessibility bus cannot start.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

SKIP = 77
BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
TAB = 0xFF09
SPACE = 0x20
faults = []


def fault(text):
    faults.append(text)
    print("FAULT: " + text, file=sys.stderr)


def skip(text):
    print("*" * 72, file=sys.stderr)
    print("SKIPPED: the screen reader's view was NOT checked: " + text, file=sys.stderr)
    print("*" * 72, file=sys.stderr)
    sys.exit(SKIP)


class Timeout(Exception):
    pass


def pump(seconds):
    """Runs the client's event loop for a while, so that events reach the listeners."""
    from gi.repository import GLib

    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        while context.iteration(False):
            pass
        time.sleep(0.01)


def wait_for(what, find, seconds=60):
    """The first true answer of find() within the time, pumping events meanwhile."""
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        try:
            found = find()
        except Timeout:
            raise
        except Exception:  # a window going away while it is read
            found = None
        if found:
            return found
        pump(0.1)
    raise Timeout("waited %d s for %s" % (seconds, what))


def bus_address():
    reply = subprocess.run(
        ["dbus-send", "--session", "--print-reply=literal", "--dest=org.a11y.Bus",
         "/org/a11y/bus", "org.a11y.Bus.GetAddress"],
        capture_output=True, text=True, timeout=5)
    return reply.stdout.strip() if reply.returncode == 0 else ""


def text_of(node):
    try:
        text = node.queryText()
        return text.getText(0, text.characterCount)
    except NotImplementedError:
        return None


def states_of(node):
    import pyatspi

    return {pyatspi.stateToString(s) for s in node.getState().getStates()}


def labelled_by(node):
    import pyatspi

    for relation in node.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            return relation.getTarget(0).name
    return None


def children(node):
    return [node.getChildAtIndex(i) for i in range(node.childCount)]


def find(node, role, name):
    if node.getRoleName() == role and node.name == name:
        return node
    for child in children(node):
        found = find(child, role, name)
        if found is not None:
            return found
    return None


def controls(window):
    """The window's controls as a screen reader lists them: what is visible."""
    return [c for c in children(window) if "visible" in states_of(c)]


def check_controls(window_name, window, expected):
    """`expected`: (role, name, value, labelled by) per visible control in order; a value or
    label of None is not checked, a value ending in "…" is a beginning."""
    shown = controls(window)
    got = [(c.getRoleName(), c.name) for c in shown]
    want = [(role, name) for role, name, _, _ in expected]
    if got != want:
        fault("%s: controls (role, name)\n  got  %s\n  want %s" % (window_name, got, want))
        return
    for node, (role, name, value, label) in zip(shown, expected):
        text = text_of(node)
        if value is not None:
            matches = (text or "").startswith(value[:-1]) if value.endswith("…") else text == value
            if not matches:
                fault("%s: %s %r reads %r, not %r" % (window_name, role, name, text, value))
        if label is not None and labelled_by(node) != label:
            fault("%s: %s %r is labelled by %r, not %r"
                  % (window_name, role, name, labelled_by(node), label))


def press(node, name):
    button = find(node, "push button", name)
    if button is None:
        raise Timeout("no button %r to press" % name)
    button.queryAction().doAction(0)


def key(keysym):
    import pyatspi

    pyatspi.Registry.generateKeyboardEvent(keysym, None, pyatspi.KEY_SYM)


class FocusTrail:
    """The names of the controls that gained the focus, in order."""

    def __init__(self):
        import pyatspi

        self.names = []
        pyatspi.Registry.registerEventListener(self.on_event, "object:state-changed:focused")

    def on_event(self, event):
        if event.detail1 == 1:
            self.names.append(event.source.name)

    def after_tabs(self, count):
        self.names.clear()
        for _ in range(count):
            before = len(self.names)
            key(TAB)
            try:
                wait_for("the focus to move on Tab", lambda: len(self.names) > before, 30)
            except Timeout:
                break
            self.settle()
        return list(self.names)

    def settle(self):
        """Pumps until the events a move raises after the first have come: half a second
        without a new one (a loaded machine delivers them late)."""
        seen = -1
        while seen != len(self.names):
            seen = len(self.names)
            pump(0.5)


def check_main_window(app, demo, trail):
    frame = wait_for("the main window", lambda: find(app, "frame", " Varnock"))
    status = wait_for("the status line's text",
                      lambda: text_of(find(frame, "label", "Patch status")) or None)
    exe = os.path.join(demo, "tomb4.exe")
    version = "LE_UK_P:XP_Standard (11-Nov-2000  15:21)"
    check_controls("main window", frame, [
        ("label", "Choose patch:", None, None),
        ("combo box", "Patch_ExtraWadTextures.ptc", None, "Choose patch:"),
        ("label", "From tomb4 version", None, None),
        ("label", "From tomb4 version", version, "From tomb4 version"),
        ("label", "Dynamic Patch !", None, None),
        ("label", "Patch description:", None, None),
        ("text", "Patch description", "Extra WAD textures\n…", "Patch description:"),
        ("label", "Apply patch to following tomb4 program", None, None),
        ("label", "Apply patch to following tomb4 program", exe,
         "Apply patch to following tomb4 program"),
        ("push button", "Change", None, None),
        ("push button", "APPLY PATCH", None, None),
        ("push button", "REMOVE PATCH", None, None),
        ("push button", "Close", None, None),
        ("label", "Current tomb4 version", version, "Current tomb4 version"),
        ("label", "Current tomb4 version", None, None),
        ("push button", "Patch Folder :", None, None),
        ("label", "Patch folder", demo, None),
        ("push button", "Print description", None, None),
        ("label", "Patch status", "Status: not applied", None),
        ("push button", "All patches…", None, None),
    ])
    if status != "Status: not applied":
        fault("main window: the status line reads %r" % status)
    items = [c.name for c in children(find(frame, "combo box", "Patch_ExtraWadTextures.ptc"))[0]]
    if items != ["Patch_ExtraVideoMemory20MB.ptc", "Patch_ExtraWadTextures.ptc"]:
        fault("main window: the patch list holds %s" % items)
    wait_for("the main window to take the keys", lambda: "active" in states_of(frame), 5)
    tabs = ["Patch description", "Change", "APPLY PATCH", "REMOVE PATCH", "Close",
            "Patch Folder :", "Print description", "All patches…",
            "Patch_ExtraWadTextures.ptc"]
    got = trail.after_tabs(len(tabs))
    if got != tabs:
        fault("main window: Tab moves the focus through\n  got  %s\n  want %s" % (got, tabs))
    return frame


def check_picker(app, frame, demo, trail):
    press(frame, "Change")
    dialog = wait_for("the picker", lambda: find(app, "dialog", "Select tomb4 to patch"))
    tree = wait_for("the folder list", lambda: find(dialog, "tree", "Folder"))
    check_controls("picker", dialog, [
        ("push button", "OK", None, None),
        ("push button", "Cancel", None, None),
        ("tree", "Folder", None, None),
        ("combo box", "/", None, "Drive"),
        ("text", "Chosen path", "", None),
        ("push button", "New Folder ->", None, None),
        ("text", "New folder name", "", None),
        ("list", "File", None, None),
        ("label", "File:", None, None),
        ("label", "Folder:", None, None),
    ])
    folders = [c.name for c in children(tree) if c.getRoleName() == "table cell"]
    want = ["/"] + demo.strip("/").split("/")
    if folders != want:
        fault("picker: the folder list reads %s, not %s" % (folders, want))
    files = [c.name for c in children(find(dialog, "list", "File"))]
    if files != ["tomb4.exe"]:
        fault("picker: the file list reads %s" % files)
    # The chosen path never keeps the focus: it passes it on to the button after it, which is
    # told last. The file list tells its current file, then itself.
    tabs = ["Cancel", "Folder", "/", "Chosen path", "New Folder ->", "New folder name",
            "tomb4.exe", "File", "OK"]
    got = trail.after_tabs(len(tabs) - 2)
    if got != tabs:
        fault("picker: Tab moves the focus through\n  got  %s\n  want %s" % (got, tabs))
    press(dialog, "Cancel")
    wait_for("the picker to close", lambda: find(app, "dialog", "Select tomb4 to patch") is None)


def rows_of(table):
    """(patch, its mark as told, status word) for each row."""
    cells = [c for c in children(table) if c.getRoleName() == "table cell"]
    return [(cells[i].name, cells[i].description, cells[i + 1].name)
            for i in range(0, len(cells), 5)]


def check_patches_window(app, frame, trail):
    press(frame, "All patches…")
    window = wait_for("the Patches window", lambda: find(app, "frame", "Patches"))
    table = find(window, "table", "Patches")
    wait_for("every status", lambda: rows_of(table) and all(
        status not in ("", "…") for _, _, status in rows_of(table)))
    check_controls("Patches window", window, [
        ("label", "Filter:", None, None),
        ("text", "Filter", "", "Filter:"),
        ("label", "Patches:", None, None),
        ("table", "Patches", None, None),
        ("label", "Patch description:", None, None),
        ("text", "Patch description", None, "Patch description:"),
        ("label", "Progress", None, None),
        ("check box", "Keep a history of changes", None, None),
        ("push button", "Apply changes", None, None),
        ("push button", "Refresh", None, None),
        ("push button", "Restore original…", None, None),
        ("push button", "Undo last change", None, None),
        ("push button", "History…", None, None),
        ("push button", "Save set…", None, None),
        ("push button", "Open set…", None, None),
        ("push button", "Close", None, None),
        ("label", "Language:", None, None),
        ("combo box", "System language", None, "Language:"),
    ])
    headers = [c.name for c in children(table) if c.getRoleName() == "table column header"]
    if headers != ["Patch", "Status", "Conflicts with", "Argument", "Dynamic"]:
        fault("Patches window: the columns are %s" % headers)
    want = [("Patch_ExtraVideoMemory20MB.ptc", "not checked", "not applied"),
            ("Patch_ExtraWadTextures.ptc", "not checked", "not applied")]
    if rows_of(table) != want:
        fault("Patches window: rows %s, not %s" % (rows_of(table), want))
    # The window opens with the keys on the chosen patch's row; Space there marks it, which the
    # screen reader hears, and the button that carries the change out becomes usable.
    key(SPACE)
    try:
        wait_for("a row to be told checked",
                 lambda: any(mark == "checked" for _, mark, _ in rows_of(table)), 5)
        if "enabled" not in states_of(find(window, "push button", "Apply changes")):
            fault("Patches window: a marked row leaves Apply changes unusable")
    except Timeout:
        fault("Patches window: Space on the list tells no row checked: %s" % rows_of(table))
    tabs = ["Patch description", "Keep a history of changes", "Apply changes", "Refresh",
            "Restore original…", "Undo last change", "History…", "Save set…", "Open set…",
            "Close", "System language", "Filter"]
    got = trail.after_tabs(len(tabs) + 1)
    if got[-1:] and got[-1] in (want[0][0], want[1][0], "Patches"):
        got = got[:-1]  # back on the list, on a row
    if got != tabs:
        fault("Patches window: Tab moves the focus through\n  got  %s\n  want %s" % (got, tabs))
    press(window, "Close")
    wait_for("the Patches window to close", lambda: find(app, "frame", "Patches") is None)


def probe(demo, program):
    import pyatspi

    trail = FocusTrail()
    desktop = pyatspi.Registry.getDesktop(0)

    def started():
        if program.poll() is not None:
            raise Timeout("Varnock ended with status %d before it was read" % program.returncode)
        return next((a for a in desktop if a is not None and a.name == "Varnock"), None)

    app = wait_for("Varnock on the accessibility bus", started)
    frame = check_main_window(app, demo, trail)
    check_picker(app, frame, demo, trail)
    check_patches_window(app, frame, trail)
    press(frame, "Close")
    try:
        program.wait(timeout=30)
    except subprocess.TimeoutExpired:
        fault("Varnock did not end within 30 s of Close")
        return
    if program.returncode != 0:
        fault("Varnock ended with status %d" % program.returncode)


def stop(process):
    if process is not None and process.poll() is None:
        process.terminate()
        try:
            process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def main():
    if len(sys.argv) != 3:
        print("usage: accessibility_probe.py VARNOCK DEMO_FOLDER", file=sys.stderr)
        return 2
    varnock, demo_source = sys.argv[1], sys.argv[2]
    if not os.path.exists(BUS_LAUNCHER):
        skip(BUS_LAUNCHER + " is missing (Debian's at-spi2-core)")
    work = tempfile.mkdtemp(prefix="varnock-a11y-")
    bus = program = None
    try:
        demo = os.path.join(work, "demo")
        shutil.copytree(demo_source, demo)
        home = os.path.join(work, "home")
        os.mkdir(home, 0o700)
        env = dict(os.environ, HOME=home, XDG_RUNTIME_DIR=home,
                   XDG_CONFIG_HOME=os.path.join(home, ".config"), NO_AT_BRIDGE="0")
        os.environ.update(env)
        bus = subprocess.Popen([BUS_LAUNCHER, "--launch-immediately"], env=env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            wait_for("the accessibility bus", bus_address, 60)
        except Timeout:
            skip("the accessibility bus did not start within 60 s")
        try:
            import pyatspi  # noqa: F401 (the client connects to the bus now)
        except ImportError:
            skip("python3-pyatspi is missing")
        program = subprocess.Popen(
            [varnock, os.path.join(demo, "Patch_ExtraWadTextures.ptc"),
             os.path.join(demo, "tomb4.exe")],
            env=dict(env, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"))
        probe(demo, program)
    except Timeout as late:
        fault(str(late))
    finally:
        stop(program)
        stop(bus)
        shutil.rmtree(work, ignore_errors=True)
    if faults:
        print("%d fault(s) in what a screen reader reads of Varnock" % len(faults),
              file=sys.stderr)
        return 1
    print("A screen reader reads every control of the three windows as designed.")
    return 0


if __name__ == "__main__":
    sys.exit(main())
