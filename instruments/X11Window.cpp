#include "X11Window.h"

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

xcb_connection_t* Connection()
{
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->connection() : nullptr;
}

} // namespace

void SetTaskbarButton(QWidget& window, bool shown)
{
    xcb_connection_t* connection = Connection();
    // A window that has never been made has the button it is born with.
    if (connection == nullptr || (shown && window.windowHandle() == nullptr))
        return;
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

std::optional<QMargins> DeviceFrame(QWidget& window)
{
    xcb_connection_t* connection = Connection();
    if (connection == nullptr || window.windowHandle() == nullptr)
        return std::nullopt;
    const auto id = static_cast<xcb_window_t>(window.windowHandle()->winId());
    const xcb_get_property_cookie_t cookie =
        xcb_get_property(connection, 0, id, Atom(connection, "_NET_FRAME_EXTENTS"), XCB_ATOM_CARDINAL, 0, 4);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, nullptr);
    std::optional<QMargins> frame;
    if (reply != nullptr && reply->format == 32 && xcb_get_property_value_length(reply) == 16) {
        const auto* extents = static_cast<const uint32_t*>(xcb_get_property_value(reply)); // left, right, top, bottom
        frame = QMargins(int(extents[0]), int(extents[2]), int(extents[1]), int(extents[3]));
    }
    std::free(reply);
    return frame;
}

void SetDeviceGeometry(QWidget& window, const QRect& client)
{
    xcb_connection_t* connection = Connection();
    if (connection == nullptr || window.windowHandle() == nullptr || client.isEmpty())
        return;
    const auto id = static_cast<xcb_window_t>(window.windowHandle()->winId());
    // At a scale factor Qt asks for sizes in steps of its pixel, which the window manager keeps to;
    // the step goes for this request (Qt gives it back with its next one).
    const xcb_get_property_cookie_t cookie = xcb_get_property(connection, 0, id, XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS, 0, 18);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, nullptr);
    if (reply != nullptr && reply->format == 32 && xcb_get_property_value_length(reply) == 18 * 4) {
        std::array<uint32_t, 18> hints{};
        std::memcpy(hints.data(), xcb_get_property_value(reply), sizeof hints);
        constexpr uint32_t BaseSize = 1U << 8, ResizeIncrement = 1U << 6;
        hints[0] &= ~(BaseSize | ResizeIncrement);
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS, 32,
                            static_cast<uint32_t>(hints.size()), hints.data());
    }
    std::free(reply);
    const uint32_t values[] = {uint32_t(client.x()), uint32_t(client.y()), uint32_t(client.width()), uint32_t(client.height())};
    xcb_configure_window(connection, id,
                         XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, values);
    xcb_flush(connection);
}

#else

void SetTaskbarButton(QWidget&, bool)
{
}

std::optional<QMargins> DeviceFrame(QWidget&)
{
    return std::nullopt;
}

void SetDeviceGeometry(QWidget&, const QRect&)
{
}

#endif
