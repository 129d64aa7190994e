#!/usr/bin/python3
"""table_check.py linux|windows TAB_COPY COMMA_COPY IP_JSON: the two copies of
the table a program put on the clipboard against the machine's adapters as
`ip -j addr` reports them; a "PASS ..." or "FAIL ..." line per check, exit 1
when any fails. The Linux program's lines end in CR LF and its rows are the
interfaces but the loopback, by index. Wine's clipboard bridge hands over LF
line ends, and Wine numbers adapters its own way: the Windows program's rows
are the host's adapters by MAC address."""

import csv
import json
import sys

TITLES = ["NIC", "MAC", "IP Addr", "DHCP Svr", "LeaseObt", "LeaseExp",
          "WINS", "Host", "Domain", "NIC Name", "DNS"]
failed = []


def check(ok, what):
    print(("PASS " if ok else "FAIL ") + what)
    failed.extend([] if ok else [what])


def host_links(links):
    """The host's interfaces that the table lists: all but the loopback."""
    return [link for link in links if link.get("link_type") != "loopback"]


def lines_of(path, line_end):
    """The copy's lines; None when a line ends otherwise or a line end follows
    the last row (a table without rows may end its header with one)."""
    with open(path, encoding="utf-8", newline="") as f:
        lines = f.read().split(line_end)
    if len(lines) == 2 and lines[1] == "":
        lines = lines[:1]
    bad = lines[-1] == "" or any("\r" in line or "\n" in line for line in lines)
    return None if bad else lines


def linux_rows(rows, links):
    expected = {str(link["ifindex"]): link for link in host_links(links)}
    check(sorted(row[0] for row in rows) == sorted(expected), "one row per interface but the loopback, by index")
    for row in rows:
        link = expected.get(row[0])
        if link is None:
            continue  # the check above has failed
        check(link.get("link_type") != "ether" or row[1].lower() == link["address"].lower(),
              f"{link['ifname']}: MAC {row[1]!r}")
        check(row[2] in ["", *(a.get("local") for a in link.get("addr_info", []))], f"{link['ifname']}: IP {row[2]!r}")


def windows_rows(rows, links):
    host_macs = {link["address"].lower() for link in host_links(links) if link.get("address")}
    table_macs = {row[1].lower() for row in rows if row[1]}
    check(host_macs <= table_macs, "every host adapter's MAC is listed: %s" % sorted(host_macs - table_macs))
    check(table_macs <= host_macs, "every listed MAC is a host adapter's: %s" % sorted(table_macs - host_macs))
    host_ips = {info["local"] for link in links for info in link.get("addr_info", [])}
    listed_ips = [row[2] for row in rows if row[2]]
    check(all(ip in host_ips for ip in listed_ips), "every listed IP address is the host's: %s" % listed_ips)
    indexes = [row[0] for row in rows]
    check(len(rows) >= 1 and all(i.isdigit() for i in indexes) and len(set(indexes)) == len(indexes),
          "at least one row, and adapter indexes are distinct numbers: %s" % indexes)


def main(platform, tab_file, comma_file, ip_file):
    line_end = {"linux": "\r\n", "windows": "\n"}[platform]
    tab, comma = lines_of(tab_file, line_end), lines_of(comma_file, line_end)
    check(tab is not None and comma is not None, f"lines end in {line_end!r}, and none follows the last row")
    if tab is None or comma is None:
        return 1
    tab = [line.split("\t") for line in tab]
    comma = list(csv.reader(comma))  # RFC 4180: a quoted cell may hold the separator
    check(tab[0] == TITLES and comma[0] == TITLES, "header titles exact in both copies")
    check(all(len(row) == len(TITLES) for row in tab + comma), "eleven cells a line")
    check(comma == tab, "the comma copy holds the same cells as the tab copy")
    rows = [row for row in tab[1:] if len(row) == len(TITLES)]
    with open(ip_file, encoding="utf-8") as f:
        (linux_rows if platform == "linux" else windows_rows)(rows, json.load(f))
    return 1 if failed else 0


if __name__ == "__main__":
    if len(sys.argv) != 5 or sys.argv[1] not in ("linux", "windows"):
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
