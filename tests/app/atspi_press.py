#!/usr/bin/env python3
"""Drives the built program through the accessibility bus, as a screen reader
or an assistive tool would: finds the CADASTRO picture button by its name,
presses it through its accessibility action and expects the registration
window to appear. Runs inside atspi_session.sh (Xvfb, D-Bus, AT-SPI bus)."""
import os
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi
from gi.repository import GLib


def find(node, role, name, depth=0):
    if depth > 12:
        return None
    try:
        if node.getRoleName() == role and node.name == name:
            return node
        for i in range(node.childCount):
            found = find(node.getChildAtIndex(i), role, name, depth + 1)
            if found is not None:
                return found
    except Exception:
        pass
    return None


def application(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        try:
            if app is not None and app.get_process_id() == pid:
                return app
        except Exception:
            pass
    return None


def wait_for(what, timeout=20.0):
    end = time.time() + timeout
    while time.time() < end:
        try:
            result = what()
        except GLib.GError:
            # A window closing while its tree is walked: not there yet, or not any more.
            result = None
        if result is not None:
            return result
        time.sleep(0.2)
    return None


def main():
    binary, template = sys.argv[1], sys.argv[2]
    work = tempfile.mkdtemp(prefix="vosmira-atspi-")
    program = os.path.join(work, "program")
    shutil.copytree(template, program)
    env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(work, "config"),
               QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
    env.pop("QT_QPA_PLATFORM", None)
    proc = subprocess.Popen([binary, "--program-folder", program], env=env)
    failures = []
    try:
        app = wait_for(lambda: application(proc.pid))
        if app is None:
            failures.append("the program never appeared on the accessibility bus")
            return failures
        for caption in ("CONSULTA", "RELATÓRIOS", "BACKUP", "PROTEÇÃO", "SOBRE"):
            other = wait_for(lambda: find(app, "push button", caption), timeout=5)
            if other is None:
                failures.append("no push button named %s" % caption)
            elif other.queryAction().nActions < 1:
                failures.append("%s offers no action" % caption)
        button = wait_for(lambda: find(app, "push button", "CADASTRO"))
        if button is None:
            failures.append("no push button named CADASTRO")
            return failures
        actions = button.queryAction()
        names = [actions.getName(i) for i in range(actions.nActions)]
        if "press" not in names and "Press" not in names:
            failures.append("CADASTRO offers no press action: %r" % names)
            return failures
        print("found", button.name, names, flush=True)
        actions.doAction(names.index("press") if "press" in names else names.index("Press"))
        dialog = wait_for(lambda: find(application(proc.pid) or app, "dialog", " :: CONTATO - Cadastro"))
        if dialog is None:
            failures.append("pressing CADASTRO did not open the registration window")
        else:
            print("dialog", dialog.name, flush=True)
            name_edit = find(dialog, "text", "Nome")
            if name_edit is None:
                failures.append("the registration window has no edit named Nome")
    finally:
        proc.terminate()
        try:
            proc.wait(timeout=20)
        except subprocess.TimeoutExpired:
            proc.kill()
            failures.append("the program did not end on SIGTERM")
        shutil.rmtree(work, ignore_errors=True)
    return failures


if __name__ == "__main__":
    problems = main()
    for p in problems:
        print("FAIL: " + p)
    print("%d passed, %d failed" % (0 if problems else 1, 1 if problems else 0))
    sys.exit(1 if problems else 0)
