#!/usr/bin/python3
"""Walks the program's windows as a screen reader sees them, through AT-SPI.

Run inside a session bus and a display (dbus-run-session with xvfb-run, or with a Wayland
compositor). For each of the launcher's page buttons it starts the program, presses the button
through its accessibility action and walks what the main window shows: every focusable control
must have a name, a Persian one; the Quran page's verse panes must expose their text. With
--exit it presses the launcher's exit button instead and expects the program to end by itself.
Exit status 0 when all holds, 1 with the faults listed otherwise.
"""
import argparse
import os
import re
import subprocess
import sys
import time

import pyatspi

ARABIC_SCRIPT = re.compile("[\u0600-\u06ff]")
# Containers whose many items are named by their own text; the walk checks the container.
ITEM_CONTAINERS = {pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE_TABLE, pyatspi.ROLE_LIST,
                   pyatspi.ROLE_TREE, pyatspi.ROLE_LIST_BOX}
EXIT = "خروج"


def wait_for(what, timeout=15.0):
    end = time.time() + timeout
    while time.time() < end:
        try:
            found = what()
        except Exception:
            found = None
        if found:
            return found
        time.sleep(0.1)
    return None


def find_app(pid):
    for app in pyatspi.Registry.getDesktop(0):
        try:
            if app is not None and app.get_process_id() == pid:
                return app
        except Exception:
            pass
    return None


def showing(node):
    states = node.getState()
    return states.contains(pyatspi.STATE_SHOWING) and states.contains(pyatspi.STATE_VISIBLE)


def shown(node):
    """The shown nodes under node, not inside item containers."""
    for child in node:
        if child is None or not showing(child):
            continue
        yield child
        if child.getRole() not in ITEM_CONTAINERS:
            yield from shown(child)


def find(root, role, name=None):
    return next((node for node in shown(root)
                 if node.getRole() == role and (name is None or node.name == name)), None)


def press(node):
    action = node.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    action.doAction(names.index("Press") if "Press" in names else 0)


class Program:
    def __init__(self, path, workdir):
        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
        self.process = subprocess.Popen([path], cwd=workdir, env=env)
        self.app = wait_for(lambda: find_app(self.process.pid))

    def launcher_buttons(self):
        return [node for node in shown(self.app) if node.getRole() == pyatspi.ROLE_PUSH_BUTTON]

    def end(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()


def walk_page(args, caption, faults):
    program = Program(args.program, args.workdir)
    try:
        if not program.app:
            faults.append("the program never appeared on the accessibility bus")
            return
        button = wait_for(lambda: find(program.app, pyatspi.ROLE_PUSH_BUTTON, caption))
        press(button)
        frame = wait_for(lambda: next(
            (node for node in program.app
             if node is not None and showing(node) and node.name == "ورتانس"), None))
        if not frame:
            faults.append("%s: the main window never showed" % caption.strip())
            return
        time.sleep(0.5)
        where = caption.strip()
        for node in shown(frame):
            if not node.getState().contains(pyatspi.STATE_FOCUSABLE):
                continue
            name = (node.name or "").strip()
            print(where, node.getRoleName(), repr(name)) if os.environ.get("WALK_DEBUG") else None
            if not name:
                faults.append("%s: a %s has no name" % (where, node.getRoleName()))
            elif not ARABIC_SCRIPT.search(name):
                faults.append("%s: a %s is named %r, not in Persian"
                              % (where, node.getRoleName(), name))
        if caption == "قرآن":
            for pane in ("متن عربي آيه", "ترجمه آيه"):
                node = find(frame, pyatspi.ROLE_TEXT, pane)
                if not node or not node.queryText().getText(0, -1).strip():
                    faults.append("the Quran page's pane %r does not expose its text" % pane)
    finally:
        program.end()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--workdir", required=True)
    parser.add_argument("--exit", action="store_true")
    args = parser.parse_args()

    if args.exit:
        program = Program(args.program, args.workdir)
        try:
            button = program.app and wait_for(
                lambda: find(program.app, pyatspi.ROLE_PUSH_BUTTON, EXIT))
            if not button:
                print("the launcher's exit button is not exposed")
                return 1
            press(button)
            status = program.process.wait(timeout=15)
            print("the exit button ended the program with status %d" % status)
            return 0 if status == 0 else 1
        except subprocess.TimeoutExpired:
            print("the exit button did not end the program")
            return 1
        finally:
            program.end()

    # The launcher's page buttons, read from a first start.
    program = Program(args.program, args.workdir)
    try:
        captions = wait_for(lambda: [b.name for b in program.launcher_buttons()]) or []
    finally:
        program.end()
    captions = [c for c in captions if c.strip() != EXIT]
    if not captions:
        print("the launcher's buttons are not exposed")
        return 1
    faults = []
    for caption in captions:
        walk_page(args, caption, faults)
    for fault in faults:
        print(fault)
    print("%d pages walked, %d faults" % (len(captions), len(faults)))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
