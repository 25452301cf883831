#!/usr/bin/python3
"""Reads Quillon through AT-SPI as a screen reader does, in Korean: the
welcome window's card, links, Next and menu entries; then, moved on only by
the actions a screen reader offers, wizard page 1 and a User install's unit
page, where unticking a unit must make its parent partly checked and say so
in state change events. Exits 0 when every check holds, 1 naming the first
that does not, 77 when AT-SPI cannot reach the program."""

import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

QUILLON, WORK = sys.argv[1], sys.argv[2]
failures = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what, flush=True)
    if not condition:
        failures.append(what)
    return condition


def make_data_set():
    """A data set of STY units, and a registry export naming Vestra 3.1."""
    data = os.path.join(WORK, "dataset")
    for unit in ("STY_27/Casual/Blouse", "STY_27/Casual/Pants", "STY_27/Formal/Coat"):
        os.makedirs(os.path.join(data, unit))
    with open(os.path.join(data, "dataset.ini"), "w") as ini:
        ini.write("[DataSet]\nYear=2027\nSeason=S/S\nVolume=12\n"
                  "[STY]\nPresent=1\nFolder=STY_27\n[STI]\nPresent=0\nFolder=STI_27\n"
                  "[DETAIL]\nPresent=0\nFolder=DETAIL_27\n")
    vestra = os.path.join(WORK, "Vestra 3.1")
    os.makedirs(os.path.join(vestra, "Bin"))
    registry = os.path.join(WORK, "registry.reg")
    with open(registry, "w") as reg:
        reg.write("Windows Registry Editor Version 5.00\n\n"
                  "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrel\\Vestra\\3.1\\Directory]\n"
                  '"Defaultdir"="%s"\n' % vestra)
    return data, registry


def pump(seconds):
    context = GLib.MainContext.default()
    end = time.time() + seconds
    while time.time() < end:
        while context.iteration(False):
            pass
        time.sleep(0.02)


def walk(node, depth=0):
    if node is None or depth > 30:
        return
    yield node
    for i in range(node.childCount):
        yield from walk(node.getChildAtIndex(i), depth + 1)


def find(root, role=None, name=None, timeout=5.0):
    end = time.time() + timeout
    while True:
        for node in walk(root):
            try:
                if (role is None or node.getRole() == role) and (name is None or node.name == name):
                    return node
            except Exception:
                continue
        if time.time() > end:
            return None
        pump(0.2)


def application(timeout=15.0):
    end = time.time() + timeout
    while time.time() < end:
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name == "Quillon":
                return app
        time.sleep(0.2)
    return None


def showing_frame(app, holding_role, timeout=10.0):
    """The shown window that holds a node of the given role."""
    end = time.time() + timeout
    while time.time() < end:
        for i in range(app.childCount):
            frame = app.getChildAtIndex(i)
            if frame is not None and frame.getState().contains(pyatspi.STATE_SHOWING) \
                    and find(frame, holding_role, timeout=0) is not None:
                return frame
        pump(0.2)
    return None


def act(node, *names):
    """Does the node's action of one of these names, as a screen reader does."""
    action = node.queryAction()
    for i in range(action.nActions):
        if action.getName(i).lower() in names:
            return action.doAction(i)
    return False


def states(node):
    return node.getState()


def main():
    data, registry = make_data_set()
    program = subprocess.Popen([QUILLON, "--lang", "Korean", "--dataset", data,
                                "--registry", registry, "--status-dir", WORK],
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        app = application()
        if app is None:
            print("SKIP: Quillon did not appear on the accessibility bus")
            return 77
        walkthrough(app)
    finally:
        program.kill()
        program.wait()
    print("%d checks failed" % len(failures) if failures else "every check passed")
    return 1 if failures else 0


def walkthrough(app):
    welcome = showing_frame(app, pyatspi.ROLE_LINK)
    if not check(welcome is not None, "the welcome window is shown with its links"):
        return
    links = [n for n in walk(welcome) if n.getRole() == pyatspi.ROLE_LINK]
    check(sorted(n.name for n in links) == sorted(["제작사 홈페이지", "제작사에 메일 보내기"]),
          "both links are links, named in Korean: %s" % [n.name for n in links])
    check(all("press" in [link.queryAction().getName(i).lower()
                          for i in range(link.queryAction().nActions)] for link in links),
          "each link offers its press action")
    card = find(welcome, pyatspi.ROLE_IMAGE, "Quillon: 스타일 데이터 설치 프로그램", 0)
    check(card is not None and "설치 순서" in card.description,
          "the readme card is read in the words it is drawn from")
    check(find(welcome, pyatspi.ROLE_MENU_ITEM, "닫기", 0) is not None,
          "the Close entry is named without its padding and shortcut column")
    hidden = ["%s %s" % (n.getRoleName(), n.name) for n in walk(welcome)
              if not n.getState().contains(pyatspi.STATE_VISIBLE)
              and n.getRole() not in (pyatspi.ROLE_POPUP_MENU, pyatspi.ROLE_MENU_ITEM,
                                      pyatspi.ROLE_SCROLL_BAR)]
    check(not hidden, "nothing hidden in the welcome window's tree: %s" % hidden)
    next_button = find(welcome, pyatspi.ROLE_PUSH_BUTTON, "다음", 0)
    if not check(next_button is not None, "Next is named without its padding"):
        return
    act(next_button, "press")

    wizard = showing_frame(app, pyatspi.ROLE_RADIO_BUTTON)
    if not check(wizard is not None, "Next's action opens the wizard"):
        return
    user = [n for n in walk(wizard) if n.getRole() == pyatspi.ROLE_RADIO_BUTTON][1]
    act(user, "press", "toggle")
    pump(0.3)
    check(states(user).contains(pyatspi.STATE_CHECKED), "the User install radio is checked")
    act(find(wizard, pyatspi.ROLE_PUSH_BUTTON, "다음", 0), "press")

    tree = find(wizard, pyatspi.ROLE_TREE, "STY 데이터")
    if not check(tree is not None, "the unit tree is named by its kind in Korean"):
        return
    rows = {n.name: n for n in walk(tree) if n is not tree}
    casual, root = rows.get("Casual"), rows.get("STY_27")
    if not check(casual is not None and root is not None, "the unit rows: %s" % list(rows)):
        return
    # Qt 6.4 does not pass "checkable" on to AT-SPI, for check boxes neither.
    check(states(casual).contains(pyatspi.STATE_CHECKED), "a unit is checked")
    check(states(casual).contains(pyatspi.STATE_EXPANDABLE)
          and not states(casual).contains(pyatspi.STATE_EXPANDED),
          "a collapsed unit is expandable, not expanded")

    events = []
    listener = lambda event: events.append((event.type, event.source.name))
    pyatspi.Registry.registerEventListener(listener, "object:state-changed")
    act(casual, "toggle")
    end = time.time() + 3
    while time.time() < end and not any(source == "STY_27" for _, source in events):
        pump(0.1)
    pyatspi.Registry.deregisterEventListener(listener, "object:state-changed")
    check(not states(casual).contains(pyatspi.STATE_CHECKED), "the toggle action unticks the unit")
    check(states(root).contains(pyatspi.STATE_INDETERMINATE)
          and not states(root).contains(pyatspi.STATE_CHECKED),
          "its parent is partly checked")
    check(any(source == "Casual" for _, source in events)
          and any(source == "STY_27" for _, source in events),
          "both changes are told as state change events: %s" % sorted(set(events)))
    focused = {source for kind, source in events if kind.endswith(":focused")}
    check(focused == {"Casual"}, "the focus is told on the row acted on: %s" % focused)


if __name__ == "__main__":
    sys.exit(main())
