"""Runs every right-click entry of an installed tree (PREFIX) on two files as its file manager
would, the Nautilus one inside the real gi module, and reads the window over the accessibility
bus: one window, both files in the list the entry is for."""
import configparser
import importlib.util
import os
import shlex
import signal
import subprocess
import sys
import tempfile
import time
import types

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, Gio, GLib  # noqa: E402

share = os.path.join(sys.argv[1], "share")
os.environ["PATH"] = os.path.join(sys.argv[1], "bin") + os.pathsep + os.environ["PATH"]
ENCRYPT, DECRYPT = "Zu verschlüsselnde Dateien", "Zu entschlüsselnde Dateien"
failures = []


def entry(path, group):
    parser = configparser.RawConfigParser(strict=False)
    parser.optionxform = str
    parser.read(os.path.join(share, path), encoding="utf-8")
    return parser[group]


def command(action, files):
    if action.name == "Nemo Action":  # puts the paths into the text, in the quotes it is told
        form = {"double": '"{}"', "single": "'{}'"}.get(action.get("Quote"), "{}")
        text = " ".join(form.format(path) for path in files)
    else:  # %F: each file one argument
        text = " ".join(shlex.quote(path) for path in files)
    return shlex.split(action["Exec"].replace("%F", text))


def windows():
    def named(app):
        try:
            return app is not None and app.get_name() == "AES-Marnoq"
        except GLib.GError:  # ended while we asked
            return False
    desktop = Atspi.get_desktop(0)
    return [app for app in map(desktop.get_child_at_index, range(desktop.get_child_count()))
            if named(app)]


def lists(node):
    children = [node.get_child_at_index(i) for i in range(node.get_child_count())]
    if node.get_role() == Atspi.Role.LIST:
        return {node.get_name(): sorted(child.get_name() for child in children)}
    return {name: items for child in children for name, items in lists(child).items()}


def check(name, start, files, target):
    start()
    # The first start also brings up the accessibility bus: on a busy machine, or built with the
    # sanitizers, that takes far longer than the window itself.
    for _ in range(400):
        if windows() and lists(windows()[0]).get(target):
            break
        time.sleep(0.1)
    time.sleep(0.5)  # a second window would show up by now
    apps = windows()
    expected = {ENCRYPT: [], DECRYPT: [], target: sorted(files)}
    if len(apps) != 1 or lists(apps[0]) != expected:
        failures.append(f"{name}: {len(apps)} Fenster, {lists(apps[0]) if apps else ''}")
    for app in apps:
        os.kill(app.get_process_id(), signal.SIGTERM)
    while windows():
        time.sleep(0.1)


def nautilus_items(files):
    found = importlib.util.spec_from_file_location(
        "extension", os.path.join(share, "nautilus-python/extensions/aes-marnoq.py"))
    module = importlib.util.module_from_spec(found)
    found.loader.exec_module(module)
    selection = [types.SimpleNamespace(get_location=lambda p=p: Gio.File.new_for_path(p),
                                       is_directory=lambda: False) for p in files]
    return {item.props.label: item for item in module.AesMarnoqMenu().get_file_items(selection)}


folder = tempfile.mkdtemp(dir=sys.argv[1])
plain = [os.path.join(folder, name) for name in ("Brief an Anna.txt", "-rechnung.pdf")]
sealed = [os.path.join(folder, name) for name in ("Brief an Anna.txt.aes", "foto.AES")]
for path in plain + sealed:
    open(path, "wb").close()
for verb, label, files, target in (
        ("verschluesseln", "Mit AES256-Marnoq verschlüsseln", plain, ENCRYPT),
        ("entschluesseln", "Mit AES256-Marnoq entschlüsseln", sealed, DECRYPT)):
    for manager, action in (
            ("Dolphin", entry(f"kio/servicemenus/aes-marnoq-{verb}.desktop", f"Desktop Action {verb}")),
            ("Thunar", entry(f"Thunar/sendto/aes-marnoq-{verb}.desktop", "Desktop Entry")),
            ("Nemo", entry(f"nemo/actions/aes-marnoq-{verb}.nemo_action", "Nemo Action"))):
        if action["Name"] != label:
            failures.append(f"{manager}: {action['Name']}")
        argv = command(action, files)
        check(f"{manager} {verb}", lambda: subprocess.Popen(argv, stderr=subprocess.DEVNULL),
              files, target)
    items = nautilus_items(files)
    if label in items:
        check(f"Nautilus {verb}", items[label].activate, files, target)
    else:
        failures.append(f"Nautilus bietet {label!r} nicht an: {sorted(items)}")
if "Mit AES256-Marnoq entschlüsseln" in nautilus_items(plain):
    failures.append("Nautilus bietet das Entschlüsseln für Dateien ohne .aes an")

for failure in failures:
    print("FEHLER:", failure, file=sys.stderr)
sys.exit(1 if failures else 0)
