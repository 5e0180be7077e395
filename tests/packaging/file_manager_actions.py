"""Runs every right-click entry the package gives the file managers on two selected files the
way its file manager would, and reads the window that opens over the accessibility bus: one
window, both files in the list the entry is for. The Nautilus extension runs inside the real
gi module. Usage: file_manager_actions.py PREFIX (an installed tree)."""
import configparser
import os
import shlex
import signal
import subprocess
import sys
import tempfile
import time
import types
import importlib.util

import gi

gi.require_version("Atspi", "2.0")
gi.require_version("Gio", "2.0")
from gi.repository import Atspi, Gio  # noqa: E402

prefix = sys.argv[1]
share = os.path.join(prefix, "share")
os.environ["PATH"] = os.path.join(prefix, "bin") + os.pathsep + os.environ["PATH"]
ENCRYPT, DECRYPT = "Zu verschlüsselnde Dateien", "Zu entschlüsselnde Dateien"
failures = []


def entry(path, group):
    parser = configparser.RawConfigParser(strict=False)
    parser.optionxform = str
    parser.read(path, encoding="utf-8")
    return parser[group]


def desktop_argv(exec_line, files):
    # Only the field codes our entries use; %F is the whole selection, each file one argument.
    argv = []
    for word in shlex.split(exec_line):
        argv.extend(files if word == "%F" else [word])
    return argv


def nemo_argv(action, files):
    quote = {"double": '"', "single": "'"}.get(action.get("Quote", ""), "")
    text = " ".join(f"{quote}{path}{quote}" for path in files)
    return shlex.split(action["Exec"].replace("%F", text))


def is_window(app):
    try:
        return app is not None and app.get_name() == "AES-Marnoq"
    except gi.repository.GLib.GError:  # ended while we asked
        return False


def windows():
    desktop = Atspi.get_desktop(0)
    return [app for app in (desktop.get_child_at_index(i) for i in range(desktop.get_child_count()))
            if is_window(app)]


def lists(app):
    shown = {}
    stack = [app]
    while stack:
        node = stack.pop()
        if node.get_role() == Atspi.Role.LIST:
            shown[node.get_name()] = [node.get_child_at_index(i).get_name()
                                      for i in range(node.get_child_count())]
        stack.extend(node.get_child_at_index(i) for i in range(node.get_child_count()))
    return shown


def check(name, start, files, target):
    start()
    for _ in range(100):
        apps = windows()
        if apps and lists(apps[0]).get(target):
            break
        time.sleep(0.1)
    time.sleep(0.5)  # a second window would show up by now
    apps = windows()
    shown = lists(apps[0]) if apps else {}
    expected = {ENCRYPT: [], DECRYPT: []}
    expected[target] = sorted(files)
    got = {key: sorted(shown.get(key, [])) for key in expected}
    if len(apps) != 1 or got != expected:
        failures.append(f"{name}: {len(apps)} Fenster, Listen {got}")
    for app in apps:
        os.kill(app.get_process_id(), signal.SIGTERM)
    for _ in range(50):
        if not windows():
            break
        time.sleep(0.1)


def nautilus_items(files):
    spec = importlib.util.spec_from_file_location(
        "aes_marnoq_nautilus", os.path.join(share, "nautilus-python/extensions/aes-marnoq.py"))
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    selection = [types.SimpleNamespace(get_location=lambda p=p: Gio.File.new_for_path(p),
                                       is_directory=lambda: False) for p in files]
    return {item.props.label: item for item in module.AesMarnoqMenu().get_file_items(selection)}


folder = tempfile.mkdtemp(dir=prefix)
plain = [os.path.join(folder, name) for name in ("Brief an Anna.txt", "-rechnung.pdf")]
sealed = [os.path.join(folder, name) for name in ("Brief an Anna.txt.aes", "foto.AES")]
for path in plain + sealed:
    open(path, "wb").close()

actions = {"verschluesseln": ("Mit AES256-Marnoq verschlüsseln", plain, ENCRYPT),
           "entschluesseln": ("Mit AES256-Marnoq entschlüsseln", sealed, DECRYPT)}
for verb, (label, files, target) in actions.items():
    def run(argv):
        return lambda: subprocess.Popen(argv, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    dolphin = os.path.join(share, f"kio/servicemenus/aes-marnoq-{verb}.desktop")
    action = entry(dolphin, f"Desktop Action {verb}")
    if action["Name"] != label:
        failures.append(f"Dolphin: {action['Name']}")
    check(f"Dolphin {verb}", run(desktop_argv(action["Exec"], files)), files, target)

    thunar = entry(os.path.join(share, f"Thunar/sendto/aes-marnoq-{verb}.desktop"), "Desktop Entry")
    if thunar["Name"] != label:
        failures.append(f"Thunar: {thunar['Name']}")
    check(f"Thunar {verb}", run(desktop_argv(thunar["Exec"], files)), files, target)

    nemo = entry(os.path.join(share, f"nemo/actions/aes-marnoq-{verb}.nemo_action"), "Nemo Action")
    if nemo["Name"] != label:
        failures.append(f"Nemo: {nemo['Name']}")
    check(f"Nemo {verb}", run(nemo_argv(nemo, files)), files, target)

    items = nautilus_items(files)
    if label not in items:
        failures.append(f"Nautilus bietet {label!r} nicht an: {sorted(items)}")
    else:
        check(f"Nautilus {verb}", lambda: items[label].activate(), files, target)

if "Mit AES256-Marnoq entschlüsseln" in nautilus_items(plain):
    failures.append("Nautilus bietet das Entschlüsseln für Dateien ohne .aes an")

for failure in failures:
    print("FEHLER:", failure, file=sys.stderr)
sys.exit(1 if failures else 0)
