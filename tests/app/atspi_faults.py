#!/usr/bin/env python3
"""The built program against faults, driven through the accessibility bus in a
private X server (atspi_session.sh): a save refused by a database that another
program holds locked keeps the registration window and what was typed, says
why, and saves once the lock is gone; a database that cannot be opened says
what is wrong with it and the program ends with a failure status."""
import os
import shutil
import sqlite3
import subprocess
import sys
import tempfile
import time

import pyatspi

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from atspi_press import application, find, wait_for  # noqa: E402


def find_where(node, test, depth=0):
    if depth > 14:
        return None
    try:
        if test(node):
            return node
        for i in range(node.childCount):
            found = find_where(node.getChildAtIndex(i), test, depth + 1)
            if found is not None:
                return found
    except Exception:
        pass
    return None


def text_of(node):
    try:
        return node.queryText().getText(0, -1)
    except Exception:
        return node.name or ""


def message(app, part):
    """The message box whose text holds part, and the text."""
    label = find_where(app, lambda n: n.getRoleName() == "label" and part in text_of(n))
    if label is None:
        return None
    box = label
    while box is not None and box.getRoleName() not in ("alert", "dialog"):
        box = box.parent
    return (box, text_of(label)) if box is not None else None


def press(node):
    actions = node.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    actions.doAction(names.index("press") if "press" in names else 0)


def answer(app, part, button):
    found = wait_for(lambda: message(app, part), timeout=30)
    if found is None:
        return None
    box, text = found
    target = wait_for(lambda: find(box, "push button", button), timeout=5)
    if target is None:
        return None
    press(target)
    return text


def start(binary, program, work):
    env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(work, "config"),
               QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
    env.pop("QT_QPA_PLATFORM", None)
    return subprocess.Popen([binary, "--program-folder", program], env=env)


def stop(proc, failures):
    if proc.poll() is None:
        proc.terminate()
        try:
            proc.wait(timeout=20)
        except subprocess.TimeoutExpired:
            proc.kill()
            failures.append("the program did not end on SIGTERM")


def locked_save(binary, template, work, failures):
    program = os.path.join(work, "locked")
    shutil.copytree(template, program)
    database = os.path.join(program, "Banco", "Vosmira BANCO.mdb")
    proc = start(binary, program, work)
    other = None
    try:
        app = wait_for(lambda: application(proc.pid))
        button = app and wait_for(lambda: find(app, "push button", "CADASTRO"))
        if button is None:
            failures.append("locked save: the main window never came up")
            return
        press(button)
        window = wait_for(lambda: find(application(proc.pid) or app, "dialog", " :: CONTATO - Cadastro"))
        name = window and wait_for(lambda: find(window, "text", "Nome"))
        if name is None:
            failures.append("locked save: no registration window with its Nome edit")
            return
        name.queryEditableText().setTextContents("maria da silva")

        # Another program takes the write lock and keeps it.
        other = sqlite3.connect(database, isolation_level=None, timeout=1)
        other.execute("BEGIN EXCLUSIVE")
        press(find(window, "push button", "Salvar"))
        if answer(app, "Confirma cadastramento?", "Sim") is None:
            failures.append("locked save: no confirmation question")
            return
        said = answer(app, "O cliente não foi salvo", "OK")
        print("refused:", said, flush=True)
        # Pressed through the bus, OK lands later; on a busy machine the box is
        # still up, and Salvar pressed meanwhile would go nowhere.
        wait_for(lambda: None if message(application(proc.pid) or app, "O cliente não foi salvo") else True, timeout=15)
        if said != "O cliente não foi salvo: o banco de dados está em uso por outro programa; tente de novo em instantes.":
            failures.append("locked save: the refusal said %r" % said)
        window = wait_for(lambda: find(application(proc.pid) or app, "dialog", " :: CONTATO - Cadastro"), timeout=5)
        name = window and find(window, "text", "Nome")
        if name is None or text_of(name) != "MARIA DA SILVA":
            failures.append("locked save: the window or its text is gone (%r)" % (name and text_of(name)))
            def dump(n, d=0):
                try:
                    print("  " * d, n.getRoleName(), repr(n.name), repr(text_of(n))[:60])
                    for i in range(n.childCount):
                        dump(n.getChildAtIndex(i), d + 1)
                except Exception as e:
                    print("err", e)
            dump(window)
            return

        other.execute("ROLLBACK")
        other.close()
        other = None
        press(find(window, "push button", "Salvar"))
        if answer(app, "Confirma cadastramento?", "Sim") is None:
            failures.append("locked save: no second confirmation question")
            return
        closed = wait_for(lambda: None if find(application(proc.pid) or app, "dialog", " :: CONTATO - Cadastro")
                          else True, timeout=15)
        if not closed:
            failures.append("locked save: the window stayed open once the lock was gone")
        rows = sqlite3.connect(database).execute("SELECT NOME FROM CAD_CLIENTE").fetchall()
        if rows != [("MARIA DA SILVA",)]:
            failures.append("locked save: the database holds %r" % rows)
    finally:
        if other is not None:
            other.close()
        stop(proc, failures)


def unusable_database(binary, template, work, failures, defect, expected):
    program = os.path.join(work, defect)
    shutil.copytree(template, program)
    database = os.path.join(program, "Banco", "Vosmira BANCO.mdb")
    if defect == "missing":
        os.remove(database)
    else:
        with open(database, "r+b") as f:
            f.write(b"not a database at all")
    proc = start(binary, program, work)
    try:
        app = wait_for(lambda: application(proc.pid))
        said = app and answer(app, expected[:20], "OK")
        print(defect + ":", said, flush=True)
        if said != expected % database:
            failures.append("%s database: the message said %r" % (defect, said))
        try:
            status = proc.wait(timeout=20)
        except subprocess.TimeoutExpired:
            failures.append("%s database: the program did not end after OK" % defect)
            return
        if status != 1:
            failures.append("%s database: the program ended with status %d" % (defect, status))
    finally:
        stop(proc, failures)


def main():
    binary, template = sys.argv[1], sys.argv[2]
    work = tempfile.mkdtemp(prefix="vosmira-faults-")
    failures = []
    try:
        locked_save(binary, template, work, failures)
        unusable_database(binary, template, work, failures, "missing",
                          "O seguinte arquivo não foi encontrado: (%s) a reinstalação do programa pode resolver o problema.")
        unusable_database(binary, template, work, failures, "damaged",
                          "Não foi possível abrir o banco de dados (%s): o arquivo não é um banco de dados do Vosmira.")
    finally:
        shutil.rmtree(work, ignore_errors=True)
    return failures


if __name__ == "__main__":
    problems = main()
    for p in problems:
        print("FAIL: " + p)
    print("%d failed" % len(problems))
    sys.exit(1 if problems else 0)
