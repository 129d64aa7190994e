#!/usr/bin/python3
"""Checks the two copies of the table that the end-to-end run took from the
clipboard against the machine's adapters as `ip -j addr` reports them.

Usage: check_table.py TAB_COPY COMMA_COPY IP_JSON
Prints a "PASS ..." or "FAIL ..." line per check and exits non-zero when any
fails."""
import csv
import io
import json
import sys

TITLES = ["NIC", "MAC", "IP Addr", "DHCP Svr", "LeaseObt", "LeaseExp",
          "WINS", "Host", "Domain", "NIC Name", "DNS"]

failures = 0


def check(ok, what):
    global failures
    print(("PASS " if ok else "FAIL ") + what)
    if not ok:
        failures += 1


def main():
    tab_text = open(sys.argv[1], encoding="utf-8", newline="").read()
    comma_text = open(sys.argv[2], encoding="utf-8", newline="").read()
    links = json.load(open(sys.argv[3], encoding="utf-8"))

    # Wine's bridge to the X clipboard turns CR LF into LF.
    check("\r" not in tab_text, "line ends arrive as LF through Wine's clipboard bridge")
    tab_lines = tab_text.split("\n")
    check(tab_lines[0].split("\t") == TITLES, "tab copy: header titles exact")
    tab_rows = [line.split("\t") for line in tab_lines[1:]]
    check(len(tab_rows) >= 1, "tab copy: at least one adapter row (%d)" % len(tab_rows))
    check(all(len(r) == 11 for r in tab_rows), "tab copy: eleven cells a line")

    comma_rows = list(csv.reader(io.StringIO(comma_text)))
    check(comma_rows[0] == TITLES, "comma copy: header titles exact")
    check(all(len(r) == 11 for r in comma_rows), "comma copy: eleven cells a line")
    check(comma_rows[1:] == tab_rows, "comma copy holds the same cells as the tab copy")

    host_macs = {link["address"].lower() for link in links
                 if link.get("link_type") != "loopback" and link.get("address")}
    host_ips = {info["local"] for link in links for info in link.get("addr_info", [])}
    table_macs = {r[1].lower() for r in tab_rows if r[1]}
    check(host_macs <= table_macs, "every host adapter's MAC is listed: %s" % sorted(host_macs - table_macs))
    check(table_macs <= host_macs, "every listed MAC is a host adapter's: %s" % sorted(table_macs - host_macs))
    listed_ips = [r[2] for r in tab_rows if r[2]]
    check(all(ip in host_ips for ip in listed_ips), "every listed IP address is the host's: %s" % listed_ips)
    indexes = [r[0] for r in tab_rows]
    check(all(i.isdigit() for i in indexes) and len(set(indexes)) == len(indexes),
          "adapter indexes are distinct numbers: %s" % indexes)

    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
