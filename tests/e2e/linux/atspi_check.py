#!/usr/bin/python3
"""What a screen reader finds in the Linux program through AT-SPI. Prints a
"PASS ..." or "FAIL ..." line per check; exits 1 when any failed.

Usage: atspi_check.py start|listed|current IP_JSON
  start    the window's controls, their roles and names; the table's name,
           columns and no rows
  listed   one row per interface in IP_JSON (`ip -j addr`), each with its
           index, MAC address and IP address
  current  Down twice (xdotool) moves the focus to the second row, and the
           focus event leads a screen reader to that row's first cell
Every phase then asks the table what a screen reader asks of it, its rows
and cells (names, states, extents, selection), also of cells that are not
there; an answer that does not come means the program is gone.
"""

import json
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

TITLES = ["NIC", "MAC", "IP Addr", "DHCP Svr", "LeaseObt", "LeaseExp",
          "WINS", "Host", "Domain", "NIC Name", "DNS"]
failed = []


def check(ok, what):
    print(("PASS " if ok else "FAIL ") + what)
    if not ok:
        failed.append(what)


def until(seconds, probe):
    """probe's first true answer within the time, else None."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        GLib.MainContext.default().iteration(False)
        answer = probe()
        if answer:
            return answer
        time.sleep(0.1)
    return None


def program():
    desktop = pyatspi.Registry.getDesktop(0)
    apps = (desktop.getChildAtIndex(i) for i in range(desktop.childCount))
    return next((a for a in apps if a is not None and a.name == "quorvane"), None)


def descendants(node):
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield child
            if child.getRoleName() != "table":
                yield from descendants(child)


class Gone(Exception):
    pass


def survey(table):
    """Asks what a screen reader asks; returns the question after which the
    program answered no more, if any."""
    t = table.queryTable()

    def ask(call, *args):
        try:
            call(*args)
        except Exception:
            # Refusing a question about a child that is not there is an
            # answer too; a program that answers nothing more is gone.
            try:
                table.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            except Exception as error:
                raise Gone(f"{call.__name__}{args}: {error!r}") from None

    try:
        ask(table.getState)
        ask(table.queryComponent().getExtents, pyatspi.DESKTOP_COORDS)
        ask(t.getSelectedRows)
        for row in range(-1, t.nRows + 2):
            for call in (t.getRowDescription, t.isRowSelected, t.getRowHeader):
                ask(call, row)
            for column in (-1, 0, t.nColumns - 1, t.nColumns):
                for call in (t.isSelected, t.getAccessibleAt, t.getIndexAt, t.getRowExtentAt, t.getColumnExtentAt):
                    ask(call, row, column)
        for column in (-1, 0, t.nColumns):
            ask(t.getColumnHeader, column)
        for index in range(-1, table.childCount + 2):
            for call in (t.getRowColumnExtentsAtIndex, t.getRowAtIndex, t.getColumnAtIndex):
                ask(call, index)
        for index in range(table.childCount):
            cell = table.getChildAtIndex(index)
            ask(cell.get_name)
            ask(cell.getState)
            ask(cell.queryComponent().getExtents, pyatspi.DESKTOP_COORDS)
            ask(cell.getIndexInParent)
    except Gone as gone:
        return str(gone)
    return None


def cell_text(table, row, column):
    return table.queryTable().getAccessibleAt(row, column).name


def main(phase, ip_json):
    app = until(30, program)
    check(app is not None, "the program shows on the accessibility bus")
    if app is None:
        return 1
    nodes = list(descendants(app))
    named = {(n.getRoleName(), n.name) for n in nodes}
    table = next((n for n in nodes if n.getRoleName() == "table"), None)
    check(table is not None and table.name == "Network adapters", "the table is named Network adapters")
    if table is None:
        return 1
    t = table.queryTable()
    links = [link for link in json.load(open(ip_json)) if link.get("link_type") != "loopback"]

    if phase == "start":
        for control in [("filler", "Quorvane"), ("push button", "List Network Adaptors"),
                        ("push button", "Copy table to clipboard"), ("check box", "Use commas to separate columns")]:
            check(control in named, "a %s named %r" % control)
        check(table.description != "", "the table says what its rows are")
        check(t.nColumns == 11 and [t.getColumnDescription(c) for c in range(11)] == TITLES,
              "11 columns described by their titles")
        check([table.getChildAtIndex(c).name for c in range(11)] == TITLES, "the column headers' names")
        check(t.nRows == 0, "no rows before a list (%d)" % t.nRows)
    elif phase == "listed":
        check(until(30, lambda: t.nRows == len(links)), "one row per adapter (%d)" % t.nRows)
        rows = {cell_text(table, r, 0): r for r in range(t.nRows)}
        for link in links:
            row = rows.get(str(link["ifindex"]))
            ipv4 = [a["local"] for a in link["addr_info"] if a["family"] == "inet"]
            check(row is not None and cell_text(table, row, 1).lower() == link["address"]
                  and [cell_text(table, row, 2)] == ipv4[:1], "%s's row: index, MAC, IP address" % link["ifname"])
    elif phase == "current":
        focused = []
        pyatspi.Registry.registerEventListener(lambda e: e.detail1 and focused.append(e.source),
                                               "object:state-changed:focused")
        subprocess.run(["xdotool", "key", "--clearmodifiers", "Down", "Down"], check=True)
        cell = until(10, lambda: focused and focused[-1].getRoleName() == "table cell" and
                     focused[-1].name == cell_text(table, 1, 0) and focused[-1])
        check(cell is not None, "Down, Down: the focus event leads to the second row's first cell")
        check(t.getSelectedRows() == [1], "the second row is the selected one")

    ended = survey(table)
    check(ended is None, "the program answers every question about the table, its rows and cells" +
          (f" (none after {ended})" if ended else ""))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:3]) if len(sys.argv) == 3 else 2)
