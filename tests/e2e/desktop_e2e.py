# SPDX-License-Identifier: GPL-3.0-or-later
"""Opens the example in the desktop program, changes the figure's scale through its dialog,
calculates through the menu and the dialog, saves, and checks the saved settings lines and
records against the command line's and that the window shows something. Then, from 新規作成,
enters a block with two lines and a layer through the editors, calculates, saves, and checks
the records against the command line's on the saved file. On the way it types a comma into a
cell of the block editor and into Kh, and finds the program alive and each value refused.
Between the two, it drives the four design-analysis dialogs under データ."""
import os
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

import pyatspi  # noqa: E402

work, golden, cli = sys.argv[1], sys.argv[2], sys.argv[3]


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


def found(node, role, name):
    return wait_for(lambda: find(node, role, name), what=f"{role} {name}")


def set_text(node, text):
    node.queryEditableText().setTextContents(text)


def closed(role, name):
    wait_for(lambda: None if find(app, role, name) else True, what=f"{name} closing")


def text_of(node):
    return node.queryText().getText(0, -1)


def double_click(node):
    x, y, width, height = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    pyatspi.Registry.generateMouseEvent(x + width // 2, y + height // 2, "b1d")


def type_in_cells(texts):
    """Types each text into the open cell editor and presses Enter after it; the program
    takes the keys in order, so Enter opens the next cell before the next text arrives."""
    for text in texts:
        if text is not None:
            pyatspi.Registry.generateKeyboardEvent(0, text, pyatspi.KEY_STRING)
        pyatspi.Registry.generateKeyboardEvent(0xFF0D, None, pyatspi.KEY_SYM)  # Return


def act(node):
    """Clicks an element; a modal dialog keeps the call from returning, so it may time out."""
    try:
        node.queryAction().doAction(0)
    except Exception:  # the dialog that opened keeps the call waiting
        pass


def message_box():
    """The program's message box while one is open, else None."""
    for role in ("alert", "dialog"):
        box = find(app, role, "安定計算 V5 ")
        if box is not None:
            return box
    return None


def answer_message(containing):
    """Waits for the message box, checks that it says `containing`, and presses its OK."""
    box = wait_for(message_box, what="message box")
    said = pyatspi.findAllDescendants(box, lambda n: n is not None and containing in n.name)
    if not said:
        raise SystemExit(f"FAIL: the message box does not say {containing}")
    act(found(box, "push button", "OK"))
    wait_for(lambda: None if message_box() else True, what="the message box closing")


def key(symbol):
    pyatspi.Registry.generateKeyboardEvent(symbol, None, pyatspi.KEY_SYM)


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

# The design analyses under データ: each dialog opened, a value entered, run, its result read
# and the dialog closed; a grab of each goes to DORVO_SCREENSHOTS when it is set.
shots = os.environ.get("DORVO_SCREENSHOTS")


def grab(dialog, name):
    if not shots:
        return
    x, y, width, height = dialog.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    subprocess.run(["import", "-window", "root", "-crop", f"{width}x{height}+{x}+{y}",
                    "+repage", f"{shots}/{name}.png"], check=True)


def result_says(dialog, containing, seconds=60):
    """Waits until the dialog's result lines hold `containing` and returns them."""
    def said():
        for label in pyatspi.findAllDescendants(
                dialog, lambda n: n is not None and n.name == "結果"):
            if containing in label.description:
                return label.description
        return None
    return wait_for(said, seconds=seconds, what=f"a result saying {containing}")


act(found(frame, "menu item", "必要抑止力(P)..."))
restraint = found(app, "dialog", "必要抑止力")
set_text(found(restraint, "text", "計画安全率 Fsp"), "1.3")
act(found(restraint, "push button", "計算"))
shown = result_says(restraint, "Fsp 1.30")
cli_restraint = subprocess.run([cli, "calc", saved, "--restraint", "1.3"], check=True,
                               capture_output=True, text=True).stdout
governing = next(line for line in cli_restraint.splitlines()
                 if line.startswith("governing circle"))
force = governing.split(", P ")[1].split(" ")[0]
if f"P {force} kN/m" not in shown.splitlines()[1]:
    raise SystemExit(f"FAIL: the dialog's governing force is not the command line's {force}")
act(found(restraint, "push button", "図に描く"))
grab(restraint, "restraint-dialog")
act(found(restraint, "push button", "閉じる"))
closed("dialog", "必要抑止力")

act(found(frame, "menu item", "強度の逆算(K)..."))
back = found(app, "dialog", "強度の逆算")
set_text(found(back, "text", "層No."), "3")
set_text(found(back, "text", "現在の安全率 Fs0"), "1.05")
act(found(back, "push button", "計算"))
result_says(back, "層No.3")
grab(back, "back-analysis-dialog")
act(found(back, "push button", "閉じる"))
closed("dialog", "強度の逆算")

act(found(frame, "menu item", "感度解析(T)..."))
sensitivity = found(app, "dialog", "感度解析")
set_text(found(sensitivity, "text", "下限 %"), "-20")
act(found(sensitivity, "push button", "計算"))
result_says(sensitivity, "個のパラメータを 1 つずつ変えて探索しました")
grab(sensitivity, "sensitivity-dialog")
act(found(sensitivity, "push button", "閉じる"))
closed("dialog", "感度解析")

act(found(frame, "menu item", "確率解析(Y)..."))
probability = found(app, "dialog", "確率解析")
set_text(found(probability, "text", "回数 N"), "2000")
set_text(found(probability, "text", "不確かなパラメータ"), """{
  "parameters": [
    {"layer": 2, "property": "co", "distribution": "lognormal", "cov": 0.3},
    {"layer": 2, "property": "phi", "sd": 3, "min": 0},
    {"layer": 3, "property": "co", "distribution": "lognormal", "cov": 0.2}
  ],
  "correlations": [{"layer": 2, "correlation": -0.3}]
}""")
act(found(probability, "push button", "実行"))
result_says(probability, "破壊確率 P(Fs < 1)")
grab(probability, "probability-dialog")
act(found(probability, "push button", "OK"))
closed("dialog", "確率解析")
act(found(frame, "menu item", "上書き保存(S)"))


def saved_probability():
    try:
        text = open(f"{work}/project.prob.json", encoding="utf-8").read()
    except OSError:
        return None
    return text if '"realisations": 2000' in text else None


wait_for(saved_probability, seconds=20, what="project.prob.json saved with the project")

# A comma typed into a cell: one message, the program goes on with the text still in the cell.
act(found(frame, "menu item", "ブロックデータ(B)"))
blocks = found(app, "dialog", "ブロックデータ")
double_click(found(blocks, "table cell", "X m 2"))
time.sleep(0.5)  # the cell editor opens
pyatspi.Registry.generateKeyboardEvent(0, ",5", pyatspi.KEY_STRING)  # after the value
key(0xFF09)  # Tab
answer_message("X m：数値を入力してください。")
shown = found(blocks, "table cell", "X m 2")
if shown.description != "50.8":
    raise SystemExit(f"FAIL: the refused text reached the cell: {shown.description!r}")
act(found(blocks, "push button", "ｷｬﾝｾﾙ"))
question = wait_for(message_box, what="question 133")
act(found(question, "push button", "Yes"))
closed("dialog", "ブロックデータ")

act(found(frame, "menu item", "新規作成(N)"))
frame = found(app, "frame", "安定計算 V5 - 無題")

act(found(frame, "menu item", "ブロックデータ(B)"))
blocks = found(app, "dialog", "ブロックデータ")
set_text(found(blocks, "text", "X 座標 m"), "30")
act(found(blocks, "push button", "入力"))
lines = found(app, "dialog", "ブロックデータ > Y座標")
for y_left, y_right in (("2", "2"), ("4", "12")):
    set_text(found(lines, "text", "Y 左"), y_left)
    set_text(found(lines, "text", "Y 右"), y_right)
    set_text(found(lines, "text", "層No."), "1")
    act(found(lines, "push button", "↓ 追加 "))
    # A button acts a moment after it is pressed; Add empties the fields when it is done.
    wait_for(lambda: True if text_of(found(lines, "text", "Y 左")) == "" else None,
             what=f"the line at {y_left} added")
act(found(lines, "push button", "OK"))
closed("dialog", "ブロックデータ > Y座標")
act(found(blocks, "push button", "OK"))
closed("dialog", "ブロックデータ")

act(found(frame, "menu item", "層データ(S)"))
layers = found(app, "dialog", "層データ")
double_click(found(layers, "table cell", "層No. 1"))
time.sleep(0.5)  # the cell editor opens
type_in_cells(["1", "18", None, "30", "10", "0"])  # γ2 opens with γ1
for _ in range(3):  # the first OK ends the cell edit, a further one stores
    ok = find(layers, "push button", "OK")
    if ok is None:
        break
    act(ok)
    time.sleep(0.5)
closed("dialog", "層データ")

act(found(frame, "menu item", "すべり円データ((R)"))
search = found(app, "dialog", "すべり円データ")
for name, text in (("中心点 起点座標 X", "14"), ("中心点 起点座標 Y", "16"),
                   ("中心点 終点座標 X", "16"), ("中心点 終点座標 Y", "18"),
                   ("中心点 きざみ ｄX", "1"), ("中心点 きざみ ｄY", "1"),
                   ("半径設定 上部すべり面座標 Y", "6"), ("半径設定 下部すべり面座標 Y", "4"),
                   ("半径設定 きざみ ｄR", "1")):
    set_text(found(search, "text", name), text)
set_text(found(search, "text", "地震時水平震度 Kh"), "0,15")  # a decimal comma is no number
act(found(search, "push button", "OK"))
answer_message("地震時水平震度 Kh：数値を入力してください。")
set_text(found(search, "text", "地震時水平震度 Kh"), "")
act(found(search, "push button", "OK"))
closed("dialog", "すべり円データ")

act(found(frame, "menu item", "計算実行(C)"))
dialog = found(app, "dialog", "計算")
act(found(dialog, "push button", "OK"))
wait_for(lambda: None if find(app, "dialog", "計算") else True, seconds=120,
         what="the dialog closing by itself")

act(found(frame, "menu item", "上書き保存(S)"))  # untitled: asks for a name
chooser = found(app, "dialog", "名前を付けて保存")
entered = f"{work}/entered.slw"
set_text(found(chooser, "text", "File name:"), entered)
act(found(chooser, "push button", "Save"))


def entered_with_records():
    try:
        data = open(entered, "rb").read()
    except OSError:
        return None
    return data if data.endswith(b"$$END\r\n") else None


data = wait_for(entered_with_records, seconds=20, what="entered project with its records")
records = subprocess.run([cli, "calc", entered, "--records", "-"], check=True,
                         capture_output=True).stdout
if not records.startswith(b"$$CSV") or not data.endswith(records):
    raise SystemExit("FAIL: the records of the entered section differ from the command line's")
print("3 passed, 0 failed")
