#!/usr/bin/env python3
"""Reads a data set, lists each domain's verdict, and prints the entries of a resource base
(REBA) that changed between its two newest versions, or with one version its entries, with
their decoded values: `changed_entries.py DATA_DIR`."""
import sys

import morvit


def entries(domain):
    """The entries of a REBA by key: each one's decoded values as (label, value) pairs."""
    found, current = {}, None
    for event in domain.events(text=False):
        if event.event == "begin" and event.kind == "element":
            current = []
        elif event.event == "value" and current is not None:
            current.append((event.label, event.value))
        elif event.event == "end" and event.kind == "element" and current:
            key = dict(current).get("key")
            if key is not None:
                found[key] = current
            current = None
    return found


data_set = morvit.DataSet(sys.argv[1])
for domain in data_set:
    print(f"{domain.file}  {domain.type.name if domain.type else '?'}  {domain.describe()}")
rebas = sorted((d for d in data_set if d.type and d.type.name == "REBA" and d.sound),
               key=lambda d: d.version)
if not rebas:
    sys.exit("no sound REBA in this data set")
if len(rebas) == 1:
    print(f"entries of {rebas[0].file}:")
    for key, values in entries(rebas[0]).items():
        print(f"  entry {key}: " + ", ".join(f"{label} {value!r}" for label, value in values))
    sys.exit()
old, new = entries(rebas[-2]), entries(rebas[-1])
print(f"entries changed from version {rebas[-2].version} to {rebas[-1].version}:")
for key in sorted(old.keys() | new.keys()):
    if old.get(key) != new.get(key):
        before, after = dict(old.get(key, [])), dict(new.get(key, []))
        changes = [f"{label}: {before.get(label)!r} -> {after.get(label)!r}"
                   for label in dict.fromkeys([*before, *after]) if before.get(label) != after.get(label)]
        print(f"  entry {key} {after.get('name', before.get('name'))!r}: " + "; ".join(changes))
