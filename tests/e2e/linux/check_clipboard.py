#!/usr/bin/python3
"""Checks the table the Linux program put on the clipboard against `ip -j addr`.

Usage: check_clipboard.py tab|comma CLIPBOARD_FILE IP_JSON_FILE

The text must be a header line and one line per adapter, CR LF between lines
and none after the last, eleven cells a line (comma text read as CSV), the
header titles exact, and one row for every interface but the loopback, with
the interface's index and MAC address. Prints one line per failed check and
exits 1 if there was any.
"""

import csv
import io
import json
import sys

TITLES = ["NIC", "MAC", "IP Addr", "DHCP Svr", "LeaseObt", "LeaseExp",
          "WINS", "Host", "Domain", "NIC Name", "DNS"]


def split_lines(text):
    if text.endswith("\r\n") and text.count("\r\n") > 1:
        raise ValueError("a line end follows the last row")
    lines = text.split("\r\n")
    if any("\n" in line or "\r" in line for line in lines):
        raise ValueError("a line end other than CR LF")
    return lines


def cells_of(lines, mode):
    if mode == "tab":
        return [line.split("\t") for line in lines]
    # RFC 4180: a quoted cell may hold the separator.
    return [next(csv.reader(io.StringIO(line))) if line else [""] for line in lines]


def check(mode, text, interfaces):
    failures = []
    try:
        lines = split_lines(text)
    except ValueError as e:
        return [str(e)]
    if lines and lines[-1] == "" and len(lines) == 2:
        lines = lines[:1]  # a table without rows: the header and one line end
    table = cells_of(lines, mode)
    if not table or table[0] != TITLES:
        failures.append(f"header is {table[0] if table else None!r}")
    for number, row in enumerate(table[1:], start=2):
        if len(row) != len(TITLES):
            failures.append(f"line {number} has {len(row)} cells: {row!r}")

    expected = {str(i["ifindex"]): i for i in interfaces if i.get("link_type") != "loopback"}
    rows = {row[0]: row for row in table[1:] if row}
    if sorted(rows) != sorted(expected):
        failures.append(f"rows for interfaces {sorted(rows)}, expected {sorted(expected)}")
    for index, row in rows.items():
        link = expected.get(index)
        if link is None or len(row) < 3:
            continue
        mac = link.get("address", "")
        if link.get("link_type") == "ether" and row[1].lower() != mac.lower():
            failures.append(f"interface {index} ({link['ifname']}): MAC {row[1]!r}, expected {mac!r}")
        addresses = {a.get("local") for a in link.get("addr_info", [])}
        if row[2] and row[2] not in addresses:
            failures.append(f"interface {index}: IP {row[2]!r} is none of {sorted(addresses)}")
    return failures


def main():
    mode, clipboard_file, ip_file = sys.argv[1:4]
    with open(clipboard_file, "rb") as f:
        text = f.read().decode("utf-8")
    with open(ip_file, encoding="utf-8") as f:
        interfaces = json.load(f)
    failures = check(mode, text, interfaces)
    for failure in failures:
        print(f"{mode}: {failure}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
