'''ModemManager on a test's own system bus, as a python3-dbusmock template: an object manager
at the root; modems with the Modem and Messaging interfaces (a test moves a modem's State with
dbusmock's EmitSignal); a Send whose effect the test sets; reports after a delay; Calls().'''

import itertools

import dbus
import dbus.service
from gi.repository import GLib

import dbusmock

BUS_NAME = 'org.freedesktop.ModemManager1'
MAIN_OBJ = '/org/freedesktop/ModemManager1'
MAIN_IFACE = 'org.freedesktop.ModemManager1'
SYSTEM_BUS = True
IS_OBJECT_MANAGER = True

MODEM = 'org.freedesktop.ModemManager1.Modem'
MESSAGING = 'org.freedesktop.ModemManager1.Modem.Messaging'
SMS = 'org.freedesktop.ModemManager1.Sms'


def load(mock, _parameters):
    mock.modem_numbers, mock.sms_numbers = itertools.count(), itertools.count()
    mock.send_effect = ('sent', 1)
    mock.calls, mock.silent_sends = [], []  # the latter: (message, reply) not answered yet


def add_sms(modem, pdu_type, state, number, text, reference, delivery_state, received):
    mock = dbusmock.get_object(MAIN_OBJ)
    path = f'{MAIN_OBJ}/SMS/{next(mock.sms_numbers)}'
    mock.AddObject(path, SMS, {
        'State': dbus.UInt32(state), 'PduType': dbus.UInt32(pdu_type),
        'Number': dbus.String(number), 'Text': dbus.String(text),
        'MessageReference': dbus.UInt32(reference), 'DeliveryState': dbus.UInt32(delivery_state),
    }, [])
    dbusmock.get_object(path).methods[SMS]['Send'] = ('', '', '', sms_send_method())
    modem.messages.append(dbus.ObjectPath(path))
    modem.EmitSignal(MESSAGING, 'Added', 'ob', [dbus.ObjectPath(path), received])
    return dbus.ObjectPath(path)


def create(modem, properties):
    number, text = str(properties['number']), str(properties['text'])
    report = bool(properties.get('delivery-report-request', False))
    dbusmock.get_object(MAIN_OBJ).calls.append(f'Create {number} {report} {text}')
    return add_sms(modem, 2, 0, number, text, 0, 0x100, False)  # SUBMIT, UNKNOWN


def delete(modem, path):
    dbusmock.get_object(MAIN_OBJ).calls.append(f'Delete {path}')
    modem.messages.remove(path)
    modem.RemoveObject(path)


def mark_sent(sms, reference):
    sms.props[SMS]['State'] = dbus.UInt32(5)  # SENT
    sms.props[SMS]['MessageReference'] = dbus.UInt32(reference)


def sms_send_method():
    # Made per message, so that the template gives the root no Send of its own.
    @dbus.service.method(SMS, in_signature='', out_signature='', async_callbacks=('reply', 'error'))
    def send(self, reply, error):
        mock = dbusmock.get_object(MAIN_OBJ)
        mock.calls.append(f'Send {self.path}')
        effect, reference = mock.send_effect
        if effect == 'sent':
            mark_sent(self, reference)
            reply()
        elif effect == 'silent':
            mock.silent_sends.append((self, reply))
        else:
            error(dbus.exceptions.DBusException('the fake fails', name=effect))
    return send


@dbus.service.method(dbusmock.MOCK_IFACE, in_signature='i', out_signature='o')
def AddModem(self, state):
    path = f'{MAIN_OBJ}/Modem/{next(self.modem_numbers)}'
    self.AddObject(path, MODEM, {'State': dbus.Int32(state), 'UnlockRequired': dbus.UInt32(1)},
                   [])
    modem = dbusmock.get_object(path)
    modem.messages = []
    modem.AddProperties(MESSAGING, {'DefaultStorage': dbus.UInt32(2)})
    modem.AddMethod(MESSAGING, 'Create', 'a{sv}', 'o', create)
    modem.AddMethod(MESSAGING, 'Delete', 'o', '', delete)
    modem.AddMethod(MESSAGING, 'List', '', 'ao', lambda modem: modem.messages)
    self.EmitSignal('org.freedesktop.DBus.ObjectManager', 'InterfacesAdded', 'oa{sa{sv}}',
                    [dbus.ObjectPath(path), modem.props])
    return path


@dbus.service.method(dbusmock.MOCK_IFACE, in_signature='su', out_signature='')
def SetSendEffect(self, effect, reference):
    '''"sent" with the last part's `reference`; "silent" until AnswerSilentSends; else the name
    of the error that Send fails with.'''
    self.send_effect = (effect, reference)


@dbus.service.method(dbusmock.MOCK_IFACE, in_signature='u', out_signature='')
def AnswerSilentSends(self, reference):
    for sms, reply in self.silent_sends:
        mark_sent(sms, reference)
        reply()
    self.silent_sends = []


@dbus.service.method(dbusmock.MOCK_IFACE, in_signature='ousuu', out_signature='')
def AddStatusReport(_self, modem_path, reference, number, delivery_state, delay_ms):
    modem = dbusmock.get_object(modem_path)
    GLib.timeout_add(delay_ms, lambda: add_sms(modem, 3, 3, number, '', reference,  # RECEIVED
                                               delivery_state, True) and False)


@dbus.service.method(dbusmock.MOCK_IFACE, in_signature='', out_signature='as')
def Calls(self):
    return dbus.Array(self.calls, signature='s')
