#!/usr/bin/python3
"""Drives the built program through its real window, as a user would.

Starts Pramel on an X server of its own (Xvfb) with a fresh data folder,
finds its controls through the accessibility tree (AT-SPI) and types on
the keyboard (xdotool) and through the clipboard (xclip): adds a title,
pastes a text, splits it, triages words with Return, the arrows, a row's
Unwanted button, Ctrl+Return and Ctrl+U, takes steps back and again with
Ctrl+Z and Ctrl+Shift+Z, renames a title, gives it a language, duplicates
and deletes it, searches the registered words, exports them, restores a
file, and quits with Ctrl+Q. Then reads what the store and the exported
file hold with sqlite3.

Run inside a D-Bus session of its own (scripts/e2e.sh does:
dbus-run-session), which starts the accessibility bus on demand.
Usage: window_test.py path/to/pramel
"""

import csv
import os
import shutil
import signal
import sqlite3
import subprocess
import sys
import tempfile
import time

import pyatspi

TEXT = ("Als Gregor Samsa eines Morgens aus unruhigen Träumen erwachte, fand er "
        "sich in seinem Bett zu einem ungeheueren Ungeziefer verwandelt.")
RESTORED_ID = "7D2C1E58-4B8A-4F0E-9C3D-2A1B0C9D8E7F"
RESTORE_CSV = (
    "title,titleId,word,kind,timestamp\n"
    f"Anna Karenina,{RESTORED_ID},семьи,known,2024-03-01 10:00:00 +0000\n"
    f"Anna Karenina,{RESTORED_ID},похожи,unwanted,2024-03-01 10:00:05 +0000\n")
STEP_TIMEOUT = 15


class Failure(Exception):
    pass


def wait_for(what, condition, timeout=STEP_TIMEOUT):
    """The first true value of condition(), polled until timeout."""
    deadline = time.monotonic() + timeout
    while True:
        try:
            value = condition()
        except Exception:  # an object that went away while it was read
            value = None
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure(f"timed out waiting for {what}")
        time.sleep(0.05)


def find(root, predicate, limit=40):
    """The first object below root (breadth first) for which predicate holds.
    Tables are read as far as their first `limit` children."""
    queue = [root]
    while queue:
        node = queue.pop(0)
        try:
            if predicate(node):
                return node
            count = min(node.childCount, limit)
        except Exception:
            continue
        for i in range(count):
            try:
                child = node.getChildAtIndex(i)
            except Exception:
                child = None
            if child is not None:
                queue.append(child)
    return None


def named(role, name):
    return lambda a: a.getRoleName() == role and a.name == name


def press(accessible):
    action = accessible.queryAction()
    for i in range(action.nActions):
        if action.getName(i) in ("Press", "press", "click", "Click"):
            action.doAction(i)
            return
    action.doAction(0)


class Session:
    def __init__(self, binary):
        self.binary = binary
        self.work = tempfile.mkdtemp(prefix="pramel-e2e-")
        self.data = os.path.join(self.work, "data")
        self.runtime = os.path.join(self.work, "runtime")
        os.makedirs(self.runtime, mode=0o700)
        self.processes = []
        self.display = None
        self.app = None

    # -- processes ---------------------------------------------------------

    def start_x(self):
        number = 90
        while os.path.exists(f"/tmp/.X11-unix/X{number}") or os.path.exists(f"/tmp/.X{number}-lock"):
            number += 1
        self.display = f":{number}"
        xvfb = subprocess.Popen(["Xvfb", self.display, "-screen", "0", "1280x800x24",
                                 "-nolisten", "tcp"], stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)
        self.processes.append(xvfb)
        wait_for("the X server", lambda: os.path.exists(f"/tmp/.X11-unix/X{number}"))

    def env(self):
        env = dict(os.environ)
        env.update(DISPLAY=self.display, XDG_DATA_HOME=self.data, XDG_RUNTIME_DIR=self.runtime,
                   QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                   QT_ACCESSIBILITY="1", LANG="C.UTF-8")
        env.pop("WAYLAND_DISPLAY", None)
        return env

    def start_pramel(self):
        self.log = open(os.path.join(self.work, "pramel.log"), "w")
        self.pramel = subprocess.Popen([self.binary], env=self.env(), stdout=self.log,
                                       stderr=subprocess.STDOUT)
        self.processes.append(self.pramel)
        desktop = pyatspi.Registry.getDesktop(0)

        def application():
            for i in range(desktop.childCount):
                app = desktop.getChildAtIndex(i)
                if app is not None and app.name == "Pramel" and app.get_process_id() == self.pramel.pid:
                    return app
            return None
        self.app = wait_for("Pramel on the accessibility bus", application, 30)
        self.window = wait_for("the main window", lambda: find(
            self.app, lambda a: a.getRoleName() == "frame", 5))
        self.xdotool("search", "--sync", "--onlyvisible", "--pid", str(self.pramel.pid))
        self.focus_main_window()

    def focus_main_window(self):
        ids = self.xdotool("search", "--onlyvisible", "--pid", str(self.pramel.pid)).split()
        # The main window is the largest of the program's windows.
        def area(wid):
            geometry = self.xdotool("getwindowgeometry", "--shell", wid)
            values = dict(line.split("=") for line in geometry.split())
            return int(values["WIDTH"]) * int(values["HEIGHT"])
        main = max(ids, key=area)
        self.xdotool("windowfocus", "--sync", main)

    def xdotool(self, *args):
        return subprocess.run(["xdotool", *args], env=self.env(), check=True,
                              capture_output=True, text=True).stdout

    def key(self, *keys):
        self.xdotool("key", "--delay", "40", *keys)

    def type(self, text):
        self.xdotool("type", "--delay", "10", text)

    def copy(self, text):
        clip = subprocess.Popen(["xclip", "-selection", "clipboard", "-i", "-quiet"],
                                env=self.env(), stdin=subprocess.PIPE,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        clip.stdin.write(text.encode())
        clip.stdin.close()
        self.processes.append(clip)
        wait_for("the clipboard", lambda: subprocess.run(
            ["xclip", "-selection", "clipboard", "-o"], env=self.env(),
            capture_output=True).stdout.decode() == text)

    def stop(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                process.send_signal(signal.SIGTERM)
                try:
                    process.wait(10)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()

    # -- the store ---------------------------------------------------------

    def store(self):
        return os.path.join(self.data, "Pramel", "TestModel.sqlite")

    def query(self, sql):
        connection = sqlite3.connect(f"file:{self.store()}?mode=ro", uri=True, timeout=5)
        try:
            return connection.execute(sql).fetchall()
        finally:
            connection.close()

    def titles(self):
        return [row[0] for row in self.query('SELECT title FROM TestTitleEntity ORDER BY "index"')]

    def languages(self):
        return self.query("SELECT t.title, l.language FROM TitleLanguage l "
                          "JOIN TestTitleEntity t ON t.pk = l.title ORDER BY t.title")

    def words(self, kind):
        return sorted(row[0] for row in self.query(
            f"SELECT word FROM TestKnownWordEntity WHERE kind = '{kind}'"))

    # -- controls ----------------------------------------------------------

    def control(self, role, name, root=None):
        return wait_for(f"the {role} '{name}'", lambda: find(root or self.app, named(role, name)))

    def table(self, name):
        return self.control("table", name)

    def rows(self, table):
        """The names of the cells of a one-column table, from the table interface."""
        cells = table.queryTable()
        return [cells.getAccessibleAt(r, 0).name for r in range(cells.nRows)]

    def dialog_with(self, role, name):
        """A control of a window other than the main one (an alert, a file dialog)."""
        def found():
            for i in range(self.app.childCount):
                window = self.app.getChildAtIndex(i)
                if window is not None and window != self.window:
                    hit = find(window, named(role, name))
                    if hit is not None:
                        return hit
            return None
        return wait_for(f"a window with the {role} '{name}'", found)

    def window_named(self, title):
        """A window of the program other than the main one, by its title."""
        def found():
            for i in range(self.app.childCount):
                window = self.app.getChildAtIndex(i)
                if window is not None and window != self.window and window.name == title:
                    return window
            return None
        return wait_for(f"the window '{title}'", found)

    def title_cell(self, name, index=0):
        """The index-th cell of the title list holding name."""
        titles = self.table("Titles")
        def cell():
            cells = titles.queryTable()
            hits = [cells.getAccessibleAt(r, 0) for r in range(cells.nRows)
                    if cells.getAccessibleAt(r, 0).name == name]
            return hits[index] if len(hits) > index else None
        return wait_for(f"the title '{name}'", cell)

    def click(self, accessible, button=1):
        """Clicks the middle of a control, where the accessibility tree says it is."""
        x, y, width, height = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        if width <= 0 or height <= 0:
            raise Failure(f"'{accessible.name}' is not on the screen")
        self.xdotool("mousemove", "--sync", str(x + width // 2), str(y + height // 2),
                     "click", str(button))

    def menus_opened(self):
        with open(self.log.name) as f:
            return f.read().count("Right-clicked on row")

    def visible_windows(self):
        result = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid",
                                 str(self.pramel.pid)], env=self.env(), capture_output=True,
                                text=True)
        return len(result.stdout.split())

    def open_title_menu(self, name, index=0):
        before, windows = self.menus_opened(), self.visible_windows()
        self.click(self.title_cell(name, index), button=3)
        wait_for("the title menu", lambda: self.menus_opened() > before)
        # The menu takes the keys once its window is up.
        wait_for("the title menu's window", lambda: self.visible_windows() > windows)

    def choose_menu_item(self, name):
        """Chooses a command of the title menu just opened, by the keyboard."""
        items = ["Duplicate", "Delete", "Edit", "Language…"]
        self.key(*["Down"] * (items.index(name) + 1), "Return")

def main():
    binary = os.path.abspath(sys.argv[1])
    session = Session(binary)
    started = time.monotonic()
    try:
        session.start_x()
        session.start_pramel()
        export_path = os.path.join(session.work, "exported words.csv")
        restore_path = os.path.join(session.work, "restore.csv")
        with open(restore_path, "w", encoding="utf-8") as f:
            f.write(RESTORE_CSV)

        # A title, through the "+" button and its alert.
        press(session.control("push button", "Add title"))
        field = session.dialog_with("text", "Name")
        session.type("Die Verwandlung")
        session.key("Return")
        wait_for("the title in the store", lambda: session.titles() == ["Die Verwandlung"])

        # Choose it, and paste the text into the text pane.
        session.click(session.title_cell("Die Verwandlung"))
        text = session.control("text", "Text")
        wait_for("the text pane to be editable",
                 lambda: text.getState().contains(pyatspi.STATE_EDITABLE))
        session.copy(TEXT)
        session.click(text)
        wait_for("the text pane to take the keys",
                 lambda: text.getState().contains(pyatspi.STATE_FOCUSED))
        session.key("ctrl+v")
        wait_for("the text in the store", lambda: session.query(
            "SELECT length FROM TestTextEntity")[0][0] == len(TEXT))

        # Split; the list takes the keys.
        session.key("ctrl+shift+s")
        split = session.table("Split words")
        wait_for("the split list", lambda: session.rows(split)[:3] == ["Als", "Gregor", "Samsa"])
        wait_for("the split list to take the keys", lambda: split.getState().contains(pyatspi.STATE_FOCUSED))

        # Return: the selected word (the first) is known.
        session.key("Return")
        wait_for("Als known", lambda: session.words("known") == ["Als"])
        # Down, Down, Up: the second row, "Samsa"; Return makes it known.
        session.key("Down", "Down", "Up")
        cells = split.queryTable()
        wait_for("the second row selected", lambda: cells.isRowSelected(1))
        session.key("Return")
        wait_for("Samsa known", lambda: session.words("known") == ["Als", "Samsa"])
        # Unwanted: the row's own button, found through the accessibility tree
        # (Ctrl+U, below, does the same from the keyboard).
        row = wait_for("the row of 'eines'", lambda: next(
            (cells.getAccessibleAt(r, 0) for r in range(cells.nRows)
             if cells.getAccessibleAt(r, 0).name == "eines"), None))
        unwanted = find(row, named("push button", "Unwanted"))
        if unwanted is None or unwanted.description != "eines":
            raise Failure("the row of 'eines' has no Unwanted button that names it")
        press(unwanted)
        wait_for("eines unwanted", lambda: session.words("unwanted") == ["eines"])
        # Ctrl+Return sets the selected word aside: it leaves the list, unregistered.
        selected = wait_for("a selected row", lambda: next(
            (cells.getAccessibleAt(r, 0).name for r in range(cells.nRows) if cells.isRowSelected(r)), None))
        session.key("ctrl+Return")
        wait_for(f"{selected} set aside", lambda: selected not in session.rows(split))
        if selected in session.words("known") + session.words("unwanted"):
            raise Failure(f"{selected} was registered instead of set aside")
        # Ctrl+Z takes the step back, in the list and in the store (its mark
        # of removal goes); Ctrl+Shift+Z takes it again.
        def marks():
            return session.query("SELECT COUNT(*) FROM TestSplitWordRemoval")[0][0]
        set_aside = marks()
        session.key("ctrl+z")
        wait_for(f"{selected} back in the list", lambda: selected in session.rows(split))
        wait_for("its mark gone from the store", lambda: marks() == set_aside - 1)
        session.key("ctrl+shift+z")
        wait_for(f"{selected} set aside again",
                 lambda: selected not in session.rows(split) and marks() == set_aside)
        # Ctrl+U: the selected word unwanted; Ctrl+Z: not registered after all.
        chosen = wait_for("a selected row", lambda: next(
            (cells.getAccessibleAt(r, 0).name for r in range(cells.nRows) if cells.isRowSelected(r)), None))
        session.key("ctrl+u")
        wait_for(f"{chosen} unwanted", lambda: chosen in session.words("unwanted"))
        session.key("ctrl+z")
        wait_for(f"{chosen} unregistered again", lambda: session.words("unwanted") == ["eines"])
        wait_for(f"{chosen} back in the list", lambda: chosen in session.rows(split))

        # The text as a way into the list: a click on a new word selects its
        # row, Alt+Right the next new word; Return there registers it, and
        # Ctrl+Z takes that back, the text untouched.
        def selected_row():
            return next((cells.getAccessibleAt(r, 0).name for r in range(cells.nRows)
                         if cells.isRowSelected(r)), None)
        at = TEXT.index("ungeheueren") + 3
        x, y, width, height = text.queryText().getCharacterExtents(at, pyatspi.DESKTOP_COORDS)
        session.xdotool("mousemove", "--sync", str(x + width // 2), str(y + height // 2),
                        "click", "1")
        wait_for("the clicked word's row", lambda: selected_row() == "ungeheueren")
        session.key("alt+Right")
        wait_for("the next new word's row", lambda: selected_row() == "Ungeziefer")
        session.key("Return")
        wait_for("Ungeziefer known from the text",
                 lambda: "Ungeziefer" in session.words("known"))
        session.key("ctrl+z")
        wait_for("Ungeziefer unregistered again",
                 lambda: "Ungeziefer" not in session.words("known"))
        wait_for("the text as it was", lambda: session.query(
            "SELECT length FROM TestTextEntity")[0][0] == len(TEXT))
        session.click(split)

        # Rename through the title's menu (Edit).
        session.open_title_menu("Die Verwandlung")
        session.choose_menu_item("Edit")
        session.dialog_with("text", "Name")
        session.key("ctrl+a")
        session.type("Kafka")
        session.key("Return")
        wait_for("the new name in the store", lambda: session.titles() == ["Kafka"])

        # Its language, through the title's menu (Language…): typed, then Return.
        session.open_title_menu("Kafka")
        session.choose_menu_item("Language…")
        session.dialog_with("text", "Search languages")
        session.type("german")
        session.key("Return")
        wait_for("the language in the store", lambda: session.languages() == [("Kafka", "de")])

        # Duplicate it, then delete the copy.
        session.open_title_menu("Kafka")
        session.choose_menu_item("Duplicate")
        wait_for("the copy in the store", lambda: session.titles() == ["Kafka", "Kafka"])
        session.open_title_menu("Kafka", index=1)
        session.choose_menu_item("Delete")
        session.dialog_with("push button", "OK")
        session.key("Return")
        wait_for("the copy deleted", lambda: session.titles() == ["Kafka"])

        # The registered pane's search: "sam" leaves one of the two known words.
        session.click(session.control("text", "Search words"))
        session.type("sam")
        known = session.table("Known words")
        wait_for("the search's match", lambda: session.rows(known) == ["Samsa"])
        session.control("label", "1 of 2")
        session.key("Escape")
        wait_for("the search emptied", lambda: session.rows(known) == ["Als", "Samsa"])

        # Export every registered word through the save dialog.
        press(session.control("push button", "Export CSV…"))
        session.window_named("Export Registered Words")
        session.key("ctrl+a")
        session.type(export_path)
        session.key("Return")
        wait_for("the exported file", lambda: os.path.exists(export_path))

        # Restore a file from the preferences.
        session.focus_main_window()
        session.key("ctrl+comma")
        press(session.dialog_with("push button", "Restore from CSV…"))
        session.window_named("Choose a CSV file")
        session.key("ctrl+a")
        session.type(restore_path)
        session.key("Return")
        # The preview says what the file adds; Restore goes on.
        press(session.dialog_with("push button", "Restore"))
        wait_for("the restored title", lambda: session.titles() == ["Kafka", "Anna Karenina"])
        session.dialog_with("push button", "OK")
        session.key("Return")

        # Quit with Ctrl+Q, from the main window.
        session.focus_main_window()
        session.key("ctrl+q")
        code = session.pramel.wait(20)
        if code != 0:
            raise Failure(f"Pramel ended with {code}")

        # What the store holds after a clean quit: the file alone is whole.
        if os.path.exists(session.store() + "-wal"):
            raise Failure("the store's journal was left behind")
        expect = {
            "titles": (session.titles(), ["Kafka", "Anna Karenina"]),
            "known": (session.words("known"), ["Als", "Samsa", "семьи"]),
            "unwanted": (session.words("unwanted"), ["eines", "похожи"]),
            "languages": (session.languages(), [("Kafka", "de")]),
        }
        for what, (got, wanted) in expect.items():
            if got != wanted:
                raise Failure(f"{what}: {got} instead of {wanted}")
        with open(export_path, encoding="utf-8") as f:
            exported = list(csv.DictReader(f))
        rows = sorted((r["title"], r["word"], r["kind"]) for r in exported)
        wanted = [("Kafka", "Als", "known"), ("Kafka", "Samsa", "known"),
                  ("Kafka", "eines", "unwanted")]
        if rows != wanted:
            raise Failure(f"the exported file holds {rows} instead of {wanted}")
    except Exception:
        log = os.path.join(session.work, "pramel.log")
        if os.path.exists(log):
            with open(log) as f:
                sys.stderr.write("--- Pramel's output ---\n" + f.read()[-4000:])
        raise
    finally:
        session.stop()
        shutil.rmtree(session.work, ignore_errors=True)
    print(f"end-to-end: passed in {time.monotonic() - started:.1f} s")


if __name__ == "__main__":
    try:
        main()
    except Failure as failure:
        sys.exit(f"end-to-end: FAILED: {failure}")
