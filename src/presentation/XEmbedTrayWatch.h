#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <xcb/xcb.h>

namespace brindle {

// Whether the X screen has an XEmbed system tray now: a window owns the tray's
// manager selection. A tray that comes later announces itself to the root
// window; one that goes is seen as its window is destroyed. Never present
// without an X display.
class XEmbedTrayWatch : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    explicit XEmbedTrayWatch(QObject* parent = nullptr);
    ~XEmbedTrayWatch() override;

    bool present() const { return owner_ != XCB_WINDOW_NONE; }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

signals:
    void presentChanged();

private:
    xcb_atom_t atom(const char* name) const;
    // Reads the selection's owner and watches its window for its end.
    void findOwner();
    xcb_window_t selectionOwner() const;
    void watchForStructure(xcb_window_t window) const;

    xcb_connection_t* connection_ = nullptr;
    xcb_window_t root_ = XCB_WINDOW_NONE;
    xcb_atom_t selection_ = XCB_ATOM_NONE;
    xcb_atom_t manager_ = XCB_ATOM_NONE;
    xcb_window_t owner_ = XCB_WINDOW_NONE;
};

} // namespace brindle
