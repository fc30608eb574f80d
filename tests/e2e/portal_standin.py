"""A stand-in for the desktop portal's global shortcuts on the test's private session bus.

It speaks org.freedesktop.portal.GlobalShortcuts as the portal documents it (CreateSession and
BindShortcuts answer through a Request object's Response signal; Activated says a shortcut was
pressed) and org.freedesktop.host.portal.Registry.Register, and writes every call it gets to a
log, one JSON object a line. The test presses a shortcut through Press on a control interface of
its own. QUORVEL_STANDIN_BIND=refuse answers BindShortcuts with "cancelled", =decline binds none.

    python3 portal_standin.py LOG
"""
import json
import sys

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

NAME = "org.freedesktop.portal.Desktop"
PATH = "/org/freedesktop/portal/desktop"
SHORTCUTS = "org.freedesktop.portal.GlobalShortcuts"
REGISTRY = "org.freedesktop.host.portal.Registry"
REQUEST = "org.freedesktop.portal.Request"
SESSION = "org.freedesktop.portal.Session"
CONTROL = "tv.quorvel.test.PortalStandIn"


def plain(value):
    """D-Bus values as JSON can write them."""
    if isinstance(value, dict):
        return {str(k): plain(v) for k, v in value.items()}
    if isinstance(value, (list, tuple)):
        return [plain(v) for v in value]
    if isinstance(value, (dbus.Boolean, bool)):
        return bool(value)
    if isinstance(value, (int, dbus.UInt32, dbus.UInt64, dbus.Int32)):
        return int(value)
    return str(value)


class Request(dbus.service.Object):
    @dbus.service.signal(REQUEST, signature="ua{sv}")
    def Response(self, response, results):
        pass


class Session(dbus.service.Object):
    def __init__(self, bus, path, log):
        super().__init__(bus, path)
        self.log = log

    @dbus.service.method(SESSION, in_signature="", out_signature="")
    def Close(self):
        self.log("Close", str(self._object_path))
        self.remove_from_connection()


class Portal(dbus.service.Object):
    def __init__(self, bus, log_file, bind_mode):
        super().__init__(bus, PATH)
        self.bus = bus
        self.log_file = log_file
        self.bind_mode = bind_mode
        self.session = None

    def log(self, method, *args):
        with open(self.log_file, "a") as f:
            f.write(json.dumps({"method": method, "args": plain(list(args))}) + "\n")

    def answer(self, sender, token, response, results):
        """The request's object, and its answer once the call has returned."""
        path = "%s/request/%s/%s" % (PATH, sender[1:].replace(".", "_"), token)
        request = Request(self.bus, path)

        def respond():
            request.Response(dbus.UInt32(response), dbus.Dictionary(results, signature="sv"))
            request.remove_from_connection()
            return False

        GLib.timeout_add(100, respond)
        return dbus.ObjectPath(path)

    @dbus.service.method("org.freedesktop.DBus.Properties", in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        if interface == SHORTCUTS and name == "version":
            return dbus.UInt32(1, variant_level=1)
        raise dbus.exceptions.DBusException("no such property", name="org.freedesktop.DBus.Error.UnknownProperty")

    @dbus.service.method(REGISTRY, in_signature="sa{sv}", out_signature="")
    def Register(self, app_id, options):
        self.log("Register", app_id, options)

    @dbus.service.method(SHORTCUTS, in_signature="a{sv}", out_signature="o", sender_keyword="sender")
    def CreateSession(self, options, sender=None):
        self.log("CreateSession", options)
        path = "%s/session/%s/%s" % (PATH, sender[1:].replace(".", "_"), options["session_handle_token"])
        Session(self.bus, path, self.log)
        self.session = path
        return self.answer(sender, options["handle_token"], 0, {"session_handle": dbus.String(path)})

    @dbus.service.method(SHORTCUTS, in_signature="oa(sa{sv})sa{sv}", out_signature="o", sender_keyword="sender")
    def BindShortcuts(self, session, shortcuts, parent, options, sender=None):
        self.log("BindShortcuts", session, shortcuts, parent, options)
        if self.bind_mode == "refuse":
            return self.answer(sender, options["handle_token"], 1, {})
        bound = [] if self.bind_mode == "decline" else [
            dbus.Struct((sid, dbus.Dictionary({"description": props["description"],
                                               "trigger_description": dbus.String("Home")}, signature="sv")),
                        signature="sa{sv}")
            for sid, props in shortcuts]
        return self.answer(sender, options["handle_token"], 0,
                           {"shortcuts": dbus.Array(bound, signature="(sa{sv})")})

    @dbus.service.signal(SHORTCUTS, signature="osta{sv}")
    def Activated(self, session, shortcut_id, timestamp, options):
        pass

    @dbus.service.method(CONTROL, in_signature="s", out_signature="")
    def Press(self, shortcut_id):
        self.Activated(dbus.ObjectPath(self.session), shortcut_id, dbus.UInt64(0),
                       dbus.Dictionary({}, signature="sv"))


def main():
    import os
    dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    portal = Portal(bus, sys.argv[1], os.environ.get("QUORVEL_STANDIN_BIND", "bind"))
    name = dbus.service.BusName(NAME, bus, do_not_queue=True)
    portal.log("Ready", name.get_name())
    GLib.MainLoop().run()


if __name__ == "__main__":
    main()
