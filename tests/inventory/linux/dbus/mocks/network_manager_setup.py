#!/usr/bin/python3
'''Extends the networkmanager mock template on the test bus with the devices,
IPv4 and DHCPv4 configurations of one scenario. Run with Debian's python3;
DBUS_SESSION_BUS_ADDRESS names the bus.'''

import sys

import dbus

NM = 'org.freedesktop.NetworkManager'
MOCK = 'org.freedesktop.DBus.Mock'
DEVICE = NM + '.Device'
ROOT = '/org/freedesktop/NetworkManager'
ACTIVATED = 100

bus = dbus.SessionBus()
main = dbus.Interface(bus.get_object(NM, '/org/freedesktop'), MOCK)


def mock_of(path):
    return dbus.Interface(bus.get_object(NM, path), MOCK)


def ethernet(name, vendor=None, product=None):
    path = main.AddEthernetDevice(name + 'dev', name, ACTIVATED)
    device = mock_of(path)
    device.AddProperty(DEVICE, 'Ip4Config', dbus.ObjectPath('/'))
    device.AddProperty(DEVICE, 'Dhcp4Config', dbus.ObjectPath('/'))
    if vendor:
        device.AddProperty(DEVICE, 'Vendor', vendor)
        device.AddProperty(DEVICE, 'Product', product)
    return path


def set_device(path, name, value):
    dbus.Interface(bus.get_object(NM, path), 'org.freedesktop.DBus.Properties').Set(DEVICE, name, value)


def ip4_config(device, name, properties):
    path = ROOT + '/IP4Config/' + name
    main.AddObject(path, NM + '.IP4Config', properties, [])
    set_device(device, 'Ip4Config', dbus.ObjectPath(path))


def dhcp4_config(device, name, options):
    path = ROOT + '/DHCP4Config/' + name
    main.AddObject(path, NM + '.DHCP4Config', {'Options': dbus.Dictionary(options, signature='sv')}, [])
    set_device(device, 'Dhcp4Config', dbus.ObjectPath(path))


def manual_connection(device, name):
    settings = ROOT + '/Settings/' + name
    main.AddObject(settings, NM + '.Settings.Connection', {},
                   [('GetSettings', '', 'a{sa{sv}}', "ret = {'ipv4': {'method': 'manual'}}")])
    active = ROOT + '/ActiveConnection/' + name
    main.AddObject(active, NM + '.Connection.Active', {'Connection': dbus.ObjectPath(settings)}, [])
    main.SetDeviceActive(device, active)


def servers(*addresses):
    return dbus.Array([dbus.Dictionary({'address': a}, signature='sv') for a in addresses], signature='a{sv}')


def leases():
    # qv0: a DHCP lease obtained 2007-01-22 13:43:59 UTC for one day.
    qv0 = ethernet('qv0', 'Orvane Devices', 'OD-1000 Gigabit Network Connection')
    # Newer NetworkManager keeps the older list too; it holds only the IPv4
    # servers, so it must lose to NameserverData.
    ip4_config(qv0, 'qv0', {'NameserverData': servers('192.168.0.1', 'fd00::53'),
                            'Nameservers': dbus.Array([0x0100A8C0], signature='u'),
                            'Domains': dbus.Array(['example.test'], signature='s')})
    dhcp4_config(qv0, 'qv0', {'dhcp_server_identifier': '192.168.0.254', 'expiry': '1169559839',
                              'dhcp_lease_time': '86400', 'domain_name': 'lan.example'})
    # qv1: set up by hand, without IPv4 configuration of its own.
    qv1 = ethernet('qv1')
    manual_connection(qv1, 'qv1')
    # qv2: only the older Nameservers list, and the domain from DHCP.
    qv2 = ethernet('qv2')
    ip4_config(qv2, 'qv2', {'Nameservers': dbus.Array([0x0100000A], signature='u'),
                            'Domains': dbus.Array([], signature='s')})
    dhcp4_config(qv2, 'qv2', {'domain_name': 'a.example b.example'})
    # A device whose interface is not in the kernel's list.
    ethernet('gone0')
    return qv0


def broken_objects():
    qv0 = leases()
    # The device's IPv4 configuration object does not exist, and the device
    # list names a device that does not exist.
    set_device(qv0, 'Ip4Config', dbus.ObjectPath(ROOT + '/IP4Config/missing'))
    mock_of(ROOT).AddMethod(NM, 'GetDevices', '', 'ao',
                            'ret = [dbus.ObjectPath("%s/Devices/missing")] + '
                            '[k for k in objects.keys() if "/Devices/" in k]' % ROOT)


def failing():
    leases()
    mock_of(ROOT).AddMethod(NM, 'GetDevices', '', 'ao',
                            'raise dbus.exceptions.DBusException("refused", name="%s.PermissionDenied")' % NM)


def hanging():
    leases()
    mock_of(ROOT).AddMethod(NM, 'GetDevices', '', 'ao', 'time.sleep(10); ret = []')


{'leases': leases, 'broken_objects': broken_objects, 'failing': failing, 'hanging': hanging}[sys.argv[1]]()
