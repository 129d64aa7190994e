#!/usr/bin/python3
"""Checks the tables a program put on the clipboard against the machine's
adapters as `ip -j addr` reports them: the column titles, eleven cells a
line, and rows that are the host's adapters. One module for both programs;
what each can be held to differs, so each has its own checks.

Usage:
  table_check.py linux tab|comma COPY IP_JSON
      The Linux program's copy: a header line and one line per adapter, CR LF
      between lines and none after the last, eleven cells a line (comma text
      read as CSV), the header titles exact, and one row for every interface
      but the loopback, with the interface's index and MAC address. Prints one
      line per failed check and exits 1 if there was any.
  table_check.py windows TAB_COPY COMMA_COPY IP_JSON
      The two copies the Windows program made under Wine, whose clipboard
      bridge hands over LF line ends: rows are matched to the host's adapters
      by MAC address, and their indexes need only be distinct numbers. Prints a
      "PASS ..." or "FAIL ..." line per check and exits 1 when any fails.
"""

import csv
import io
import json
import sys

TITLES = ["NIC", "MAC", "IP Addr", "DHCP Svr", "LeaseObt", "LeaseExp",
          "WINS", "Host", "Domain", "NIC Name", "DNS"]


def read_copy(path):
    """The copied text as it was, line ends untouched."""
    with open(path, encoding="utf-8", newline="") as f:
        return f.read()


def read_links(path):
    with open(path, encoding="utf-8") as f:
        return json.load(f)


def host_links(links):
    """The host's interfaces that the table lists: all but the loopback."""
    return [link for link in links if link.get("link_type") != "loopback"]


def cells_of(lines, mode):
    if mode == "tab":
        return [line.split("\t") for line in lines]
    # RFC 4180: a quoted cell may hold the separator.
    return [next(csv.reader(io.StringIO(line))) if line else [""] for line in lines]


def split_crlf_lines(text):
    if text.endswith("\r\n") and text.count("\r\n") > 1:
        raise ValueError("a line end follows the last row")
    lines = text.split("\r\n")
    if any("\n" in line or "\r" in line for line in lines):
        raise ValueError("a line end other than CR LF")
    return lines


def linux_failures(mode, text, links):
    """What is wrong with one copy the Linux program made, one line each."""
    failures = []
    try:
        lines = split_crlf_lines(text)
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

    expected = {str(link["ifindex"]): link for link in host_links(links)}
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


def windows_checks(tab_text, comma_text, links, check):
    """Each check of the Windows program's two copies, told to check(passed, what) as it is made."""
    # Wine's bridge to the X clipboard turns CR LF into LF.
    check("\r" not in tab_text, "line ends arrive as LF through Wine's clipboard bridge")
    tab_table = cells_of(tab_text.split("\n"), "tab")
    check(tab_table[0] == TITLES, "tab copy: header titles exact")
    tab_rows = tab_table[1:]
    check(len(tab_rows) >= 1, "tab copy: at least one adapter row (%d)" % len(tab_rows))
    check(all(len(r) == 11 for r in tab_rows), "tab copy: eleven cells a line")

    comma_rows = list(csv.reader(io.StringIO(comma_text)))
    check(comma_rows[0] == TITLES, "comma copy: header titles exact")
    check(all(len(r) == 11 for r in comma_rows), "comma copy: eleven cells a line")
    check(comma_rows[1:] == tab_rows, "comma copy holds the same cells as the tab copy")

    host_macs = {link["address"].lower() for link in host_links(links) if link.get("address")}
    host_ips = {info["local"] for link in links for info in link.get("addr_info", [])}
    table_macs = {r[1].lower() for r in tab_rows if r[1]}
    check(host_macs <= table_macs, "every host adapter's MAC is listed: %s" % sorted(host_macs - table_macs))
    check(table_macs <= host_macs, "every listed MAC is a host adapter's: %s" % sorted(table_macs - host_macs))
    listed_ips = [r[2] for r in tab_rows if r[2]]
    check(all(ip in host_ips for ip in listed_ips), "every listed IP address is the host's: %s" % listed_ips)
    indexes = [r[0] for r in tab_rows]
    check(all(i.isdigit() for i in indexes) and len(set(indexes)) == len(indexes),
          "adapter indexes are distinct numbers: %s" % indexes)


def main(argv):
    platform = argv[1] if len(argv) > 1 else ""
    if platform == "linux" and len(argv) == 5:
        mode, copy_file, ip_file = argv[2:5]
        failures = linux_failures(mode, read_copy(copy_file), read_links(ip_file))
        for failure in failures:
            print(f"{mode}: {failure}")
        return 1 if failures else 0
    if platform == "windows" and len(argv) == 5:
        tab_file, comma_file, ip_file = argv[2:5]
        failed = []

        def check(ok, what):
            print(("PASS " if ok else "FAIL ") + what)
            if not ok:
                failed.append(what)

        windows_checks(read_copy(tab_file), read_copy(comma_file), read_links(ip_file), check)
        return 1 if failed else 0
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
