#!/usr/bin/python3
'''Gives a bare dbusmock object on the test bus the DNS and Domains
properties of systemd-resolved's manager. Run with Debian's python3;
DBUS_SESSION_BUS_ADDRESS names the bus.'''

import dbus

NAME = 'org.freedesktop.resolve1'
MANAGER = NAME + '.Manager'

bus = dbus.SessionBus()
mock = dbus.Interface(bus.get_object(NAME, '/org/freedesktop/resolve1'), 'org.freedesktop.DBus.Mock')


def server(index, family, address):
    return dbus.Struct((dbus.Int32(index), dbus.Int32(family), dbus.Array(address, signature='y')), signature='iiay')


def domain(index, name, routing_only):
    return dbus.Struct((dbus.Int32(index), name, dbus.Boolean(routing_only)), signature='isb')


AF_INET, AF_INET6 = 2, 10
mock.AddProperties(MANAGER, {
    # Interface 2 has servers of its own; the global ones serve the rest.
    'DNS': dbus.Array([server(0, AF_INET, [9, 9, 9, 9]),
                       server(2, AF_INET, [192, 168, 7, 1]),
                       server(2, AF_INET6, [0x20, 0x01, 0x0d, 0xb8] + [0] * 11 + [0x53]),
                       server(3, AF_INET, [1, 2, 3])],  # malformed: three bytes
                      signature='(iiay)'),
    'Domains': dbus.Array([domain(2, 'routing.example', True),
                           domain(2, 'link.example', False),
                           domain(0, 'global.example', False)],
                          signature='(isb)'),
})
