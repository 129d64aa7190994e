#!/usr/bin/python3
"""atspi_check.py start|listed|current IP_JSON: what a screen reader finds in
the Linux program through AT-SPI before a list, after one, after Down."""

import json
import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from table_check import TITLES, check, failed, host_links  # noqa: E402 (found through the line above)


def until(seconds, probe):
    deadline = time.monotonic() + seconds
    while not (answer := probe()) and time.monotonic() < deadline:
        GLib.MainContext.default().iteration(False)  # hands queued events to their listeners
        time.sleep(0.1)
    return answer


def children(node):
    return [c for c in (node.getChildAtIndex(i) for i in range(node.childCount)) if c is not None]


def main(phase, ip_json):
    desktop = pyatspi.Registry.getDesktop(0)
    app = until(30, lambda: next((a for a in children(desktop) if a.name == "quorvane"), None))
    nodes, walk = [], children(app) if app else []
    while walk:
        nodes.append(walk.pop())
        walk += children(nodes[-1]) if nodes[-1].getRole() != pyatspi.ROLE_TABLE else []
    table = next((n for n in nodes if n.getRole() == pyatspi.ROLE_TABLE), None)
    check(table is not None and table.name == "Network adapters", "a table named Network adapters")
    if table is None:
        return 1
    t = table.queryTable()
    with open(ip_json, encoding="utf-8") as f:
        links = host_links(json.load(f))

    if phase == "start":
        # Roles by value: their display names differ between AT-SPI releases.
        for role, name in [(pyatspi.ROLE_FILLER, "Quorvane"), (pyatspi.ROLE_PUSH_BUTTON, "List Network Adaptors"),
                           (pyatspi.ROLE_PUSH_BUTTON, "Copy table to clipboard"),
                           (pyatspi.ROLE_CHECK_BOX, "Use commas to separate columns")]:
            check((role, name) in {(n.getRole(), n.name) for n in nodes}, "a %s named %r" % (role, name))
        check(table.description != "", "the table says what its rows are")
        check([t.getColumnDescription(c) for c in range(t.nColumns)] == TITLES, "11 columns, headed by their titles")
        check(t.nRows == 0 and [c.name for c in children(table)] == TITLES, "no rows: the headers its only children")
    elif phase == "listed":
        check(until(30, lambda: t.nRows == len(links)), "one row per adapter (%d)" % t.nRows)
        check([c.getIndexInParent() for c in children(table)] == list(range(table.childCount)),
              "each child's index is where the table has it")
        rows = [[t.getAccessibleAt(r, c).name for c in range(3)] for r in range(t.nRows)]
        for link in links:
            ipv4 = [a["local"] for a in link["addr_info"] if a["family"] == "inet"]
            check([str(link["ifindex"]), link["address"].upper()] + ipv4[:1] in rows,
                  "%s's row: index, MAC, IP address" % link["ifname"])
    elif phase == "current":
        focused = []
        pyatspi.Registry.registerEventListener(lambda e: e.detail1 and focused.append(e.source.name),
                                               "object:state-changed:focused")
        subprocess.run(["xdotool", "key", "--clearmodifiers", "Down"], check=True)
        first = t.getAccessibleAt(0, 0).name
        check(until(10, lambda: focused and set(focused) == {first}),
              "Down: the focus event leads to the first row's first cell")
        check(t.getSelectedRows() == [0], "the first row is the selected one")

    # What a screen reader asks, also of cells that are not there: a refusal is
    # an answer too, but the table must still answer afterwards.
    rows, columns, count = range(-1, t.nRows + 2), (-1, 0, t.nColumns - 1, t.nColumns), table.childCount
    questions = [(table.getState,), (t.getSelectedRows,)]
    questions += [(q, r) for r in rows for q in (t.getRowDescription, t.isRowSelected, t.getRowHeader)]
    questions += [(q, r, c) for r in rows for c in columns
                  for q in (t.isSelected, t.getAccessibleAt, t.getIndexAt, t.getRowExtentAt, t.getColumnExtentAt)]
    questions += [(q, i) for i in range(-1, count + 2)
                  for q in (t.getRowColumnExtentsAtIndex, t.getRowAtIndex, t.getColumnAtIndex, t.getColumnHeader)]
    for cell in children(table):
        questions += [(cell.get_name,), (cell.getState,), (cell.getIndexInParent,),
                      (cell.queryComponent().getExtents, pyatspi.DESKTOP_COORDS)]
    ended = None
    for question, *args in questions:
        try:
            question(*args)
        except Exception:
            try:
                table.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            except Exception as error:
                ended = f"{question.__name__}{tuple(args)}: {error!r}"
                break
    check(not ended, "the program answers every question about the table, its rows and cells" +
          (f" (none after {ended})" if ended else ""))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:3]) if len(sys.argv) == 3 else 2)
