"""Opens the example in the desktop program, changes the figure's scale through its dialog,
calculates through the menu and the dialog, saves, and checks the saved settings lines and
records against the command line's and that the window shows something."""
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

import pyatspi  # noqa: E402

work, golden = sys.argv[1], sys.argv[2]


def wait_for(find, seconds=30.0, what="element"):
    deadline = time.time() + seconds
    while time.time() < deadline:
        found = find()
        if found is not None:
            return found
        time.sleep(0.2)
    raise SystemExit(f"FAIL: no {what} after {seconds} s")


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "Dorvo":
            return app
    return None


def find(node, role, name):
    return pyatspi.findDescendant(
        node, lambda n: n is not None and n.getRoleName() == role and n.name == name)


def act(node):
    """Clicks an element; a modal dialog keeps the call from returning, so it may time out."""
    try:
        node.queryAction().doAction(0)
    except Exception:  # the dialog that opened keeps the call waiting
        pass


Atspi.set_timeout(1000, 20000)
app = wait_for(application, what="application Dorvo on the accessibility bus")
frame = wait_for(lambda: find(app, "frame", "安定計算 V5 - project.slw"), what="main window")

act(wait_for(lambda: find(frame, "menu item", "図の縮尺と印刷範囲(S)"),
             what="menu item 図の縮尺と印刷範囲"))
scale = wait_for(lambda: find(app, "dialog", "図の縮尺と印刷範囲"), what="dialog 図の縮尺と印刷範囲")
scale_x = wait_for(lambda: find(scale, "text", "縮尺 Ｘ（横）"), what="field 縮尺 Ｘ（横）")
scale_x.queryEditableText().setTextContents("400")
act(wait_for(lambda: find(scale, "push button", "OK"), what="OK button"))
wait_for(lambda: None if find(app, "dialog", "図の縮尺と印刷範囲") else True,
         what="the scale dialog closing")

act(wait_for(lambda: find(frame, "menu item", "計算実行(C)"), what="menu item 計算実行"))
dialog = wait_for(lambda: find(app, "dialog", "計算"), what="dialog 計算")
act(wait_for(lambda: find(dialog, "push button", "OK"), what="OK button"))
wait_for(lambda: None if find(app, "dialog", "計算") else True, seconds=120,
         what="the dialog closing by itself")

act(find(frame, "menu item", "上書き保存(S)"))
saved = f"{work}/project.slw"
expected = open(golden, "rb").read()


def saved_with_records():
    data = open(saved, "rb").read()
    return data if data.endswith(b"$$END\r\n") else None


data = wait_for(saved_with_records, seconds=20, what="saved project with its records")
if not data.endswith(expected):
    raise SystemExit("FAIL: the saved records differ from the command line's")
settings = data.split(b"\r\n")[2:9]  # settings lines 1 to 7 after "$$_DORVO301" and "$$Z"
if settings[2] != b"400" or settings[3] != b"150":
    raise SystemExit(f"FAIL: the saved scale lines are {settings[2:4]}, not 400 and 150")

shot = f"{work}/screen.png"
subprocess.run(["import", "-window", "root", shot], check=True)
colours = subprocess.run(["identify", "-format", "%k", shot], check=True,
                         capture_output=True, text=True).stdout
if int(colours) < 16:
    raise SystemExit(f"FAIL: the window grab has only {colours} colours")
print("1 passed, 0 failed")
