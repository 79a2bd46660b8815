#include "presentation/XEmbedTrayWatch.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace brindle {

namespace {

template <typename Reply> using ReplyPointer = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply> ReplyPointer<Reply> owned(Reply* reply) {
    return ReplyPointer<Reply>(reply, &std::free);
}

} // namespace

XEmbedTrayWatch::XEmbedTrayWatch(QObject* parent) : QObject(parent) {
    const auto* x11 =
        qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 == nullptr) {
        return;
    }
    connection_ = x11->connection();
    root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    selection_ = atom("_NET_SYSTEM_TRAY_S0");
    manager_ = atom("MANAGER");
    // A tray that starts sends its MANAGER message to the root window's
    // structure listeners; the mask the toolkit set there is kept.
    const auto attributes = owned(xcb_get_window_attributes_reply(
        connection_, xcb_get_window_attributes(connection_, root_), nullptr));
    if (attributes && (attributes->your_event_mask & XCB_EVENT_MASK_STRUCTURE_NOTIFY) == 0) {
        const std::uint32_t mask = attributes->your_event_mask | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
    }
    QCoreApplication::instance()->installNativeEventFilter(this);
    findOwner();
}

XEmbedTrayWatch::~XEmbedTrayWatch() {
    if (connection_ != nullptr && QCoreApplication::instance() != nullptr) {
        QCoreApplication::instance()->removeNativeEventFilter(this);
    }
}

bool XEmbedTrayWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t") {
        return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    switch (event->response_type & ~0x80) {
    case XCB_CLIENT_MESSAGE: {
        const auto* client = static_cast<const xcb_client_message_event_t*>(message);
        if (client->window == root_ && client->type == manager_ && client->format == 32 &&
            client->data.data32[1] == selection_) {
            findOwner();
        }
        break;
    }
    case XCB_DESTROY_NOTIFY:
        if (static_cast<const xcb_destroy_notify_event_t*>(message)->window == owner_) {
            findOwner();
        }
        break;
    default:
        break;
    }
    return false; // the toolkit's own tray code sees the same events
}

xcb_atom_t XEmbedTrayWatch::atom(const char* name) const {
    const auto reply = owned(xcb_intern_atom_reply(
        connection_,
        xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
        nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

void XEmbedTrayWatch::findOwner() {
    const bool before = present();
    // Read again once watched: an owner that went in between has none by then.
    owner_ = selectionOwner();
    for (int round = 0; round < 3 && owner_ != XCB_WINDOW_NONE; ++round) {
        watchForStructure(owner_);
        const xcb_window_t now = selectionOwner();
        if (now == owner_) {
            break;
        }
        owner_ = now;
    }
    if (present() != before) {
        emit presentChanged();
    }
}

xcb_window_t XEmbedTrayWatch::selectionOwner() const {
    const auto reply = owned(xcb_get_selection_owner_reply(
        connection_, xcb_get_selection_owner(connection_, selection_), nullptr));
    return reply ? reply->owner : xcb_window_t{XCB_WINDOW_NONE};
}

// The toolkit's tray code watches the same window with the same mask.
void XEmbedTrayWatch::watchForStructure(xcb_window_t window) const {
    const std::uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection_, window, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection_);
}

} // namespace brindle
