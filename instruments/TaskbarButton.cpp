#include "TaskbarButton.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#if QT_CONFIG(xcb)
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

xcb_atom_t Atom(xcb_connection_t* connection, const char* name)
{
    const xcb_intern_atom_cookie_t cookie = xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply != nullptr ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

// A window not shown yet carries the state itself; the window manager reads it when the window
// appears, beside whatever Qt puts there.
void SetOnUnmapped(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t state, const std::array<xcb_atom_t, 2>& skip, bool add)
{
    const xcb_get_property_cookie_t cookie = xcb_get_property(connection, 0, window, state, XCB_ATOM_ATOM, 0, 64);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, nullptr);
    std::vector<xcb_atom_t> atoms;
    if (reply != nullptr && reply->format == 32) {
        const auto* values = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
        atoms.assign(values, values + xcb_get_property_value_length(reply) / 4);
    }
    std::free(reply);
    std::erase_if(atoms, [&](xcb_atom_t atom) { return atom == skip[0] || atom == skip[1]; });
    if (add)
        atoms.insert(atoms.end(), skip.begin(), skip.end());
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, state, XCB_ATOM_ATOM, 32,
                        static_cast<uint32_t>(atoms.size()), atoms.data());
}

// A window on the screen belongs to the window manager: it is asked, as a pager would.
void AskWindowManager(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t state, const std::array<xcb_atom_t, 2>& skip, bool add)
{
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = state;
    message.data.data32[0] = add ? 1 : 0; // _NET_WM_STATE_ADD, _NET_WM_STATE_REMOVE
    message.data.data32[1] = skip[0];
    message.data.data32[2] = skip[1];
    message.data.data32[3] = 1; // from an application
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    xcb_send_event(connection, 0, screen->root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
}

} // namespace

void SetTaskbarButton(QWidget& window, bool shown)
{
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    // A window that has never been made has the button it is born with.
    if (x11 == nullptr || (shown && window.windowHandle() == nullptr))
        return;
    xcb_connection_t* connection = x11->connection();
    window.winId(); // the native window, made now where it is not there yet
    const auto id = static_cast<xcb_window_t>(window.windowHandle()->winId());
    const xcb_atom_t state = Atom(connection, "_NET_WM_STATE");
    const std::array<xcb_atom_t, 2> skip{Atom(connection, "_NET_WM_STATE_SKIP_TASKBAR"), Atom(connection, "_NET_WM_STATE_SKIP_PAGER")};
    if (window.isVisible())
        AskWindowManager(connection, id, state, skip, !shown);
    else
        SetOnUnmapped(connection, id, state, skip, !shown);
    xcb_flush(connection);
}

#else

void SetTaskbarButton(QWidget&, bool)
{
}

#endif
