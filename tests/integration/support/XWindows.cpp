#include "XWindows.h"

#include "Polling.h"

#include <QProcess>
#include <QRegularExpression>
#include <cstdlib>
#include <memory>
#include <utility>
#include <xcb/xcb.h>

namespace brindle::test {

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

// A reply of the X server, freed with the C library's free as xcb asks.
template <typename T>
using Reply = std::unique_ptr<T, decltype([](T* reply) { std::free(reply); })>;

QString hexId(XWindows::Id window) {
    return u"0x"_s + QString::number(window, 16);
}

// Escapes the characters that mean something in a POSIX extended expression.
QString exactPattern(const QString& text) {
    static const QString special = u".[]()*+?{}|^$\\"_s;
    QString pattern = u"^"_s;
    for (const QChar c : text) {
        if (special.contains(c)) {
            pattern += QLatin1Char('\\');
        }
        pattern += c;
    }
    return pattern + u"$"_s;
}

int field(const QString& text, const QString& label) {
    const QRegularExpression expression(QRegularExpression::escape(label) + u":\\s*(-?\\d+)"_s);
    const QRegularExpressionMatch match = expression.match(text);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

} // namespace

XWindows::XWindows(QProcessEnvironment environment) : environment_(std::move(environment)) {}

QString XWindows::run(const QString& tool, const QStringList& arguments) const {
    QProcess process;
    process.setProcessEnvironment(environment_);
    process.start(tool, arguments);
    if (!process.waitForFinished(15000)) {
        process.kill();
        process.waitForFinished(1000);
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

QList<XWindows::Id> XWindows::search(const QStringList& criteria) const {
    QList<Id> windows;
    const QString found =
        run(u"xdotool"_s, QStringList{u"search"_s, u"--onlyvisible"_s} + criteria);
    for (const QString& line : found.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        windows.append(line.trimmed().toUInt());
    }
    return windows;
}

QList<XWindows::Id> XWindows::find(const QString& title) const {
    return search({u"--name"_s, exactPattern(title)});
}

XWindows::Id XWindows::waitFor(const QString& title, std::chrono::milliseconds limit) const {
    Id found = 0;
    pollUntil(
        [&] {
            const QList<Id> windows = find(title);
            found = windows.isEmpty() ? 0 : windows.first();
            return found != 0;
        },
        limit);
    return found;
}

QRect XWindows::geometry(Id window) const {
    const QString info = run(u"xwininfo"_s, {u"-id"_s, hexId(window)});
    const int width = field(info, u"Width"_s);
    const int height = field(info, u"Height"_s);
    if (width < 0 || height < 0) {
        return {};
    }
    return QRect(field(info, u"Absolute upper-left X"_s), field(info, u"Absolute upper-left Y"_s),
                 width, height);
}

bool XWindows::viewable(Id window) const {
    return run(u"xwininfo"_s, {u"-id"_s, hexId(window)}).contains(u"Map State: IsViewable"_s);
}

QImage XWindows::capture(Id window, Framing framing) const {
    const QByteArray display = environment_.value(u"DISPLAY"_s).toLocal8Bit();
    const std::unique_ptr<xcb_connection_t, void (*)(xcb_connection_t*)> connection(
        xcb_connect(display.constData(), nullptr), xcb_disconnect);
    if (xcb_connection_has_error(connection.get()) != 0) {
        return {};
    }
    xcb_window_t target = window;
    // The frame that the window manager put around the window is the ancestor just below the root.
    while (framing == Framing::WithFrame) {
        const Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(
            connection.get(), xcb_query_tree(connection.get(), target), nullptr));
        if (!tree || tree->parent == tree->root || tree->parent == XCB_NONE) {
            break;
        }
        target = tree->parent;
    }
    const Reply<xcb_get_geometry_reply_t> size(xcb_get_geometry_reply(
        connection.get(), xcb_get_geometry(connection.get(), target), nullptr));
    if (!size || size->depth < 24) {
        return {};
    }
    const Reply<xcb_get_image_reply_t> image(
        xcb_get_image_reply(connection.get(),
                            xcb_get_image(connection.get(), XCB_IMAGE_FORMAT_Z_PIXMAP, target, 0, 0,
                                          size->width, size->height, ~0u),
                            nullptr));
    if (!image || size->height == 0) {
        return {};
    }
    // 24-bit colour comes as 32-bit pixels, blue first, as QImage's RGB32 holds them.
    const int bytesPerLine = xcb_get_image_data_length(image.get()) / size->height;
    return QImage(xcb_get_image_data(image.get()), size->width, size->height, bytesPerLine,
                  QImage::Format_RGB32)
        .copy();
}

QImage XWindows::settledCapture(Id window, Framing framing) const {
    const auto uniform = [](const QImage& picture) {
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                if (picture.pixel(x, y) != picture.pixel(0, 0)) {
                    return false;
                }
            }
        }
        return true;
    };
    QImage previous;
    QImage current;
    const bool settled = pollUntil(
        [&] {
            previous = std::exchange(current, capture(window, framing));
            return !current.isNull() && !uniform(current) && current == previous;
        },
        30s);
    return settled ? current : QImage();
}

QString XWindows::property(Id window, const QString& name) const {
    return run(u"xprop"_s, {u"-id"_s, hexId(window), name}).trimmed();
}

QList<XWindows::Id> XWindows::stackingOrder() const {
    // "_NET_CLIENT_LIST_STACKING(WINDOW): window id # 0x400003, 0x60000f"
    const QString line = run(u"xprop"_s, {u"-root"_s, u"_NET_CLIENT_LIST_STACKING"_s});
    QList<Id> order;
    static const QRegularExpression id(u"0x[0-9a-fA-F]+"_s);
    for (auto match = id.globalMatch(line); match.hasNext();) {
        order.append(match.next().captured().toUInt(nullptr, 16));
    }
    return order;
}

QPoint XWindows::trayIconCentre() const {
    const QList<Id> trays = search({u"--class"_s, u"trayer"_s});
    if (trays.isEmpty()) {
        return {};
    }
    // An embedded icon is a child of the tray's window:
    // "0x400026 (has no name): ()  22x22+1+1  +1001+1".
    const QString tree = run(u"xwininfo"_s, {u"-tree"_s, u"-id"_s, hexId(trays.first())});
    static const QRegularExpression child(
        u"^\\s+0x[0-9a-f]+ .*\\s(\\d+)x(\\d+)[+-]-?\\d+[+-]-?\\d+\\s+\\+(-?\\d+)\\+(-?\\d+)$"_s,
        QRegularExpression::MultilineOption);
    for (auto match = child.globalMatch(tree); match.hasNext();) {
        const QRegularExpressionMatch icon = match.next();
        const int width = icon.captured(1).toInt();
        const int height = icon.captured(2).toInt();
        if (width > 4 && height > 4) {
            return {icon.captured(3).toInt() + width / 2, icon.captured(4).toInt() + height / 2};
        }
    }
    return {};
}

void XWindows::click(QPoint point, int button) const {
    run(u"xdotool"_s, {u"mousemove"_s, QString::number(point.x()), QString::number(point.y()),
                       u"click"_s, QString::number(button)});
}

void XWindows::activate(Id window) const {
    run(u"xdotool"_s, {u"windowactivate"_s, u"--sync"_s, QString::number(window)});
}

XWindows::Id XWindows::activeWindow() const {
    return run(u"xdotool"_s, {u"getactivewindow"_s}).trimmed().toUInt();
}

void XWindows::moveTo(Id window, int x, int y) const {
    run(u"xdotool"_s, {u"windowmove"_s, u"--sync"_s, QString::number(window), QString::number(x),
                       QString::number(y)});
}

void XWindows::pressKeys(const QStringList& keys) const {
    run(u"xdotool"_s, QStringList{u"key"_s, u"--delay"_s, u"80"_s} + keys);
}

void XWindows::typeText(const QString& text) const {
    run(u"xdotool"_s, {u"type"_s, u"--delay"_s, u"40"_s, text});
}

bool XWindows::chooseMenuItem(Id window, int index) const {
    const QList<Id> before = search({u"--class"_s, u"^brindle$"_s});
    // The open menu is a new window of the program. A key that reaches the window
    // before it has taken the focus is lost, so the menu key is tried again; Escape
    // first closes a menu that opened late, so the next try does not toggle it shut.
    Id menu = 0;
    for (int attempt = 0; attempt < 3 && menu == 0; ++attempt) {
        activate(window);
        pressKeys(attempt == 0 ? QStringList{u"alt+f"_s} : QStringList{u"Escape"_s, u"alt+f"_s});
        menu = newProgramWindow(before, 4s);
    }
    // The menu opens with its first item active.
    return menu != 0 && chooseInMenu(menu, index);
}

bool XWindows::chooseTrayMenuItem(QPoint icon, int index) const {
    const QList<Id> before = search({u"--class"_s, u"^brindle$"_s});
    click(icon, 3);
    const Id menu = newProgramWindow(before, 10s);
    if (menu == 0) {
        return false;
    }
    // A menu opened by the mouse has no active item, and it takes the keyboard only a
    // moment after it shows; a key before that is lost. So Down is pressed until the
    // first item lights up, and only then do the other keys follow.
    const QImage shown = settledCapture(menu);
    bool firstItemActive = false;
    for (int attempt = 0; attempt < 5 && !firstItemActive; ++attempt) {
        pressKeys({u"Down"_s});
        firstItemActive = pollUntil([&] { return capture(menu) != shown; }, 2s);
    }
    return !shown.isNull() && firstItemActive && chooseInMenu(menu, index);
}

XWindows::Id XWindows::newProgramWindow(const QList<Id>& before,
                                        std::chrono::milliseconds limit) const {
    Id found = 0;
    pollUntil(
        [&] {
            for (const Id candidate : search({u"--class"_s, u"^brindle$"_s})) {
                found = before.contains(candidate) ? found : candidate;
            }
            return found != 0;
        },
        limit);
    return found;
}

bool XWindows::chooseInMenu(Id menu, int downs) const {
    QStringList keys;
    for (int i = 0; i < downs; ++i) {
        keys << u"Down"_s;
    }
    pressKeys(keys << u"Return"_s);
    return pollUntil([&] { return !viewable(menu); }, 10s);
}

void XWindows::close(Id window) const {
    // _NET_CLOSE_WINDOW: the window manager sends the window WM_DELETE_WINDOW, as its
    // close box does; unlike a key press, this needs no focus.
    run(u"wmctrl"_s, {u"-i"_s, u"-c"_s, hexId(window)});
}

} // namespace brindle::test
