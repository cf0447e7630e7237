#include "StartupActivation.h"

#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QList>
#include <QWidget>
#include <QWindow>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <poll.h>
#include <xcb/xcb.h>

namespace {

constexpr qsizetype requestLimit = 4096;

// An id goes over the socket as one line: one holding a line end is no id.
QByteArray environmentValue(const char* name)
{
    const QByteArray value = qgetenv(name);
    return value.contains('\n') || value.size() > requestLimit / 4 ? QByteArray() : value;
}

QByteArray requestValue(const QByteArray& request, const QByteArray& key)
{
    for (const QByteArray& line : request.split('\n')) {
        if (line.startsWith(key + '=')) {
            return line.mid(key.size() + 1);
        }
    }
    return {};
}

struct FreeReply
{
    void operator()(void* reply) const { std::free(reply); }
};
template<typename Reply> using ReplyPointer = std::unique_ptr<Reply, FreeReply>;

// A time of the X server's own clock: a property change on a window of a connection of our own
// brings it back in the notification.
quint32 serverTime()
{
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    quint32 time = 0;
    if (!xcb_connection_has_error(connection)) {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
        const xcb_window_t window = xcb_generate_id(connection);
        const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, -1, -1, 1, 1, 0,
            XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &events);
        xcb_change_property(connection, XCB_PROP_MODE_APPEND, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, 0, nullptr);
        xcb_flush(connection);
        const QDeadlineTimer deadline(1000);
        pollfd ready = {xcb_get_file_descriptor(connection), POLLIN, 0};
        while (time == 0 && !deadline.hasExpired() && !xcb_connection_has_error(connection)) {
            ReplyPointer<xcb_generic_event_t> event(xcb_poll_for_event(connection));
            if (!event) {
                ::poll(&ready, 1, int(deadline.remainingTime()));
            } else if ((event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY) {
                time = reinterpret_cast<xcb_property_notify_event_t*>(event.get())->time;
            }
        }
    }
    xcb_disconnect(connection);
    return time;
}

xcb_atom_t atom(xcb_connection_t* connection, const char* name)
{
    const ReplyPointer<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// _NET_ACTIVE_WINDOW from an application (source 1) with the time of the start that asked, which
// the window manager weighs against the user's last input; the remove message ends the start.
void activateOnX11(xcb_connection_t* connection, xcb_window_t window, quint32 time, const QByteArray& startupId)
{
    const ReplyPointer<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr));
    if (!geometry) {
        return;
    }
    const xcb_window_t root = geometry->root;
    xcb_client_message_event_t message = {};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = atom(connection, "_NET_ACTIVE_WINDOW");
    message.data.data32[0] = 1;
    message.data.data32[1] = time;
    xcb_send_event(connection, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
        reinterpret_cast<const char*>(&message));

    if (!startupId.isEmpty()) {
        // The message goes in pieces of 20 bytes, its closing NUL included.
        const QByteArray text = StartupActivation::removeMessage(startupId) + '\0';
        xcb_client_message_event_t piece = {};
        piece.response_type = XCB_CLIENT_MESSAGE;
        piece.format = 8;
        piece.window = root;
        const xcb_atom_t begin = atom(connection, "_NET_STARTUP_INFO_BEGIN");
        const xcb_atom_t more = atom(connection, "_NET_STARTUP_INFO");
        for (qsizetype sent = 0; sent < text.size(); sent += 20) {
            piece.type = sent == 0 ? begin : more;
            std::memset(piece.data.data8, 0, sizeof piece.data.data8);
            std::memcpy(piece.data.data8, text.constData() + sent, size_t(qMin<qsizetype>(20, text.size() - sent)));
            xcb_send_event(connection, 0, root, XCB_EVENT_MASK_PROPERTY_CHANGE, reinterpret_cast<const char*>(&piece));
        }
    }
    xcb_flush(connection);
}

} // namespace

StartupActivation StartupActivation::fromEnvironment()
{
    StartupActivation activation;
    activation.m_startupId = environmentValue("DESKTOP_STARTUP_ID");
    activation.m_activationToken = environmentValue("XDG_ACTIVATION_TOKEN");
    return activation;
}

QByteArray StartupActivation::request() const
{
    QByteArray request = "startup-id=" + m_startupId + "\nactivation-token=" + m_activationToken + '\n';
    if (timeOfStartupId(m_startupId) == 0) {
        request += "time=" + QByteArray::number(serverTime()) + '\n';
    }
    return request;
}

void StartupActivation::activate(QWidget& window, const QByteArray& request)
{
    const QByteArray startupId = requestValue(request, "startup-id");
    const QByteArray token = requestValue(request, "activation-token");
    quint32 time = timeOfStartupId(startupId);
    if (time == 0) {
        time = requestValue(request, "time").toUInt();
    }

    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 && time != 0) {
        activateOnX11(x11->connection(), xcb_window_t(window.winId()), time, startupId);
        return;
    }
    // Qt's Wayland windows ask for activation with the token they find in the environment.
    if (!token.isEmpty()) {
        qputenv("XDG_ACTIVATION_TOKEN", token);
    }
    window.activateWindow();
}

quint32 StartupActivation::timeOfStartupId(const QByteArray& startupId)
{
    const qsizetype at = startupId.lastIndexOf("_TIME");
    if (at < 0) {
        return 0;
    }
    bool number = false;
    const quint32 time = startupId.mid(at + 5).toUInt(&number);
    return number ? time : 0;
}

QByteArray StartupActivation::removeMessage(const QByteArray& startupId)
{
    QByteArray quoted = startupId;
    quoted.replace('\\', "\\\\").replace('"', "\\\"");
    return "remove: ID=\"" + quoted + '"';
}
