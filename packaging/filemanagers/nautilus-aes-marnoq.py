"""AES256-Marnoq's two entries in Nautilus' right-click menu; both hand the whole selection to
one window, which sorts the files into its lists by their names."""
import subprocess

import gi

try:
    gi.require_version("Nautilus", "4.0")
except ValueError:
    gi.require_version("Nautilus", "3.0")
from gi.repository import GObject, Nautilus  # noqa: E402


def local_paths(files):
    """The selection's paths, or None when an entry is a folder or not on a local disk."""
    paths = []
    for item in files:
        path = item.get_location().get_path()
        if path is None or item.is_directory():
            return None
        paths.append(path)
    return paths


def open_window(_item, paths):
    # A session of its own, so the window outlives a restart of the file manager.
    subprocess.Popen(["aes-marnoq", "--", *paths], start_new_session=True)


class AesMarnoqMenu(GObject.GObject, Nautilus.MenuProvider):
    # Nautilus 43 and later call this with the selection only, older ones with the window first.
    def get_file_items(self, *arguments):
        paths = local_paths(arguments[-1])
        if not paths:
            return []
        entries = [("verschluesseln", "Mit AES256-Marnoq verschlüsseln")]
        if all(path.lower().endswith(".aes") for path in paths):
            entries.append(("entschluesseln", "Mit AES256-Marnoq entschlüsseln"))
        items = []
        for name, label in entries:
            item = Nautilus.MenuItem(name=f"AesMarnoq::{name}", label=label, icon="aes-marnoq")
            item.connect("activate", open_window, paths)
            items.append(item)
        return items
