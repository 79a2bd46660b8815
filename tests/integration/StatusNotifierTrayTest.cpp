#include "support/Polling.h"
#include "support/ProgramTest.h"

#include <QDBusArgument>
#include <QDBusInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>
#include <QDateTime>
#include <QLocale>

namespace brindle::test {
namespace {

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

// The program's StatusNotifierItem as a panel sees it on the session bus.
class StatusNotifierItem {
public:
    // The first item the watcher knows, as "service/path" or a bare service.
    explicit StatusNotifierItem(QDBusConnection bus) : bus_(std::move(bus)) {}

    bool find() {
        QDBusInterface watcher(u"org.kde.StatusNotifierWatcher"_s, u"/StatusNotifierWatcher"_s,
                               u"org.kde.StatusNotifierWatcher"_s, bus_);
        const QStringList items = watcher.property("RegisteredStatusNotifierItems").toStringList();
        if (items.isEmpty()) {
            return false;
        }
        const qsizetype slash = items.first().indexOf(u'/');
        service_ = slash < 0 ? items.first() : items.first().left(slash);
        path_ = slash < 0 ? u"/StatusNotifierItem"_s : items.first().mid(slash);
        return true;
    }

    QString toolTipTitle() const {
        const QDBusArgument toolTip = property(u"ToolTip"_s).value<QDBusArgument>();
        QString iconName;
        QString title;
        toolTip.beginStructure();
        toolTip >> iconName;
        toolTip.beginArray();
        while (!toolTip.atEnd()) {
            int width = 0;
            int height = 0;
            QByteArray pixels;
            toolTip.beginStructure();
            toolTip >> width >> height >> pixels;
            toolTip.endStructure();
        }
        toolTip.endArray();
        toolTip >> title;
        return title;
    }

    // The labels of the menu's items (separators left out) and their ids.
    QList<std::pair<QString, int>> menuItems() const {
        QDBusMessage call = QDBusMessage::createMethodCall(
            service_, menuPath(), u"com.canonical.dbusmenu"_s, u"GetLayout"_s);
        call << 0 << -1 << QStringList();
        const QDBusMessage reply = bus_.call(call, QDBus::Block, 5000);
        QList<std::pair<QString, int>> items;
        if (reply.arguments().size() == 2) {
            readChildren(reply.arguments().at(1).value<QDBusArgument>(), items);
        }
        return items;
    }

    bool clickMenuItem(int id) const {
        QDBusMessage call = QDBusMessage::createMethodCall(service_, menuPath(),
                                                           u"com.canonical.dbusmenu"_s, u"Event"_s);
        call << id << u"clicked"_s << QVariant::fromValue(QDBusVariant(QString())) << 0U;
        return bus_.call(call, QDBus::Block, 5000).type() == QDBusMessage::ReplyMessage;
    }

    // What a panel does on a left click; true when the item answered within 5 s.
    bool activate() const {
        QDBusMessage call = QDBusMessage::createMethodCall(
            service_, path_, u"org.kde.StatusNotifierItem"_s, u"Activate"_s);
        call << 0 << 0;
        return bus_.call(call, QDBus::Block, 5000).type() == QDBusMessage::ReplyMessage;
    }

private:
    QVariant property(const QString& name) const {
        QDBusMessage call = QDBusMessage::createMethodCall(
            service_, path_, u"org.freedesktop.DBus.Properties"_s, u"Get"_s);
        call << u"org.kde.StatusNotifierItem"_s << name;
        const QDBusReply<QDBusVariant> reply = bus_.call(call, QDBus::Block, 5000);
        return reply.isValid() ? reply.value().variant() : QVariant();
    }

    QString menuPath() const { return property(u"Menu"_s).value<QDBusObjectPath>().path(); }

    // One layout node (id, properties, children) and the nodes below it.
    static void readChildren(const QDBusArgument& node, QList<std::pair<QString, int>>& items) {
        int id = 0;
        QVariantMap properties;
        node.beginStructure();
        node >> id >> properties;
        if (id != 0 && properties.value(u"type"_s).toString() != u"separator"_s) {
            items.append({properties.value(u"label"_s).toString(), id});
        }
        node.beginArray();
        while (!node.atEnd()) {
            QDBusVariant child;
            node >> child;
            readChildren(child.variant().value<QDBusArgument>(), items);
        }
        node.endArray();
        node.endStructure();
    }

    QDBusConnection bus_;
    QString service_;
    QString path_;
};

// A desktop language: the tray menu's two items and the tray text's form
// (the short date and the time with seconds, in numbers).
struct TrayLanguage {
    const char* lang;
    const char* showWindow;
    const char* quit;
    const char* dateTimeFormat;
};

// The real program on a desktop whose panel shows StatusNotifierItems, as
// KDE Plasma, GNOME with AppIndicator support and most current panels do.
class StatusNotifierTrayTest : public ProgramTest,
                               public ::testing::WithParamInterface<TrayLanguage> {
protected:
    StatusNotifierTrayTest()
        : ProgramTest(ProgramCopy::Settings::Account,
                      VirtualDisplay::Manager::OpenboxWithStatusNotifierTray) {}

    // Goes to the tray from the menu; the icon's text, which must name that moment.
    QString moveToTray(XWindows::Id window) {
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        EXPECT_TRUE(windows.chooseMenuItem(window, ToTray));
        EXPECT_TRUE(pollUntil([&] { return !windows.viewable(window); }, 10s));
        QString text;
        EXPECT_TRUE(
            pollUntil([&] { return item.find() && !(text = item.toolTipTitle()).isEmpty(); }, 10s));
        const QLocale locale(QString::fromLatin1(GetParam().lang).section(u'.', 0, 0));
        bool named = false;
        for (QDateTime moment = before; moment <= QDateTime::currentDateTime().addSecs(1);
             moment = moment.addSecs(1)) {
            named = named ||
                    locale.toString(moment, QString::fromUtf8(GetParam().dateTimeFormat)) == text;
        }
        EXPECT_TRUE(named) << text.toStdString();
        return text;
    }

    StatusNotifierItem item{display.sessionBus()->connection()};
};

TEST_P(StatusNotifierTrayTest, TheIconsMenuAndClickWorkThroughThePanel) {
    const XWindows::Id window = startProgram(QString::fromLatin1(GetParam().lang));
    ASSERT_NE(window, 0u);
    const QString firstText = moveToTray(window);

    const auto items = item.menuItems();
    ASSERT_EQ(items.size(), 2) << "the icon's menu as the panel shows it";
    EXPECT_EQ(items[0].first, QString::fromUtf8(GetParam().showWindow));
    EXPECT_EQ(items[1].first, QString::fromUtf8(GetParam().quit));

    ASSERT_TRUE(item.clickMenuItem(items[0].second));
    ASSERT_TRUE(pollUntil([&] { return windows.viewable(window); }, 10s));
    std::this_thread::sleep_for(1100ms);
    EXPECT_NE(moveToTray(window).toStdString(), firstText.toStdString())
        << "the text names each move to the tray";

    // The panel has its answer before the box waits for the user.
    ASSERT_TRUE(item.activate());
    const XWindows::Id clicked = windows.waitFor(u"Brindle"_s, 10s);
    ASSERT_NE(clicked, 0u) << "no \"Clicked!\" box";
    windows.activate(clicked);
    windows.pressKeys({u"Return"_s});
    ASSERT_TRUE(pollUntil([&] { return !windows.viewable(clicked); }, 10s));

    ASSERT_TRUE(item.clickMenuItem(items[1].second));
    ASSERT_TRUE(endedCleanly()) << "after 終了";
    EXPECT_TRUE(program.mainSettings().contains("\r\nNUMBER3=0\r\n"));
}

// A panel that comes after the program, as at a login that starts it first.
class LateTrayTest : public ProgramTest {};

TEST_F(LateTrayTest, ATrayThatComesLaterIsUsedAndOneThatGoesGivesTheWindowBack) {
    const XWindows::Id window = startProgram();
    ASSERT_NE(window, 0u);
    // No tray yet: the window stays, and a box says so.
    ASSERT_TRUE(windows.chooseMenuItem(window, ToTray));
    const XWindows::Id told = windows.waitFor(u"Brindle"_s, 10s);
    ASSERT_NE(told, 0u) << "nothing said there is no tray";
    windows.activate(told);
    windows.pressKeys({u"Return"_s});
    ASSERT_TRUE(pollUntil([&] { return !windows.viewable(told); }, 10s));
    EXPECT_TRUE(windows.viewable(window));

    ASSERT_TRUE(display.startStatusNotifierTray());
    // The panel's host registers a moment after its watcher; the program hears
    // of it over the bus, as a user who tries again a moment later would find.
    bool hidden = false;
    for (int attempt = 0; attempt < 5 && !hidden; ++attempt) {
        ASSERT_TRUE(windows.chooseMenuItem(window, ToTray));
        hidden = pollUntil([&] { return !windows.viewable(window); }, 3s);
    }
    EXPECT_TRUE(hidden) << "the tray that came was not used";
    StatusNotifierItem item{display.sessionBus()->connection()};
    EXPECT_TRUE(pollUntil([&] { return item.find(); }, 10s)) << "not in the tray that came";

    display.stopTray();
    EXPECT_TRUE(pollUntil([&] { return windows.viewable(window); }, 10s)) << "gone with the tray";
    windows.close(window);
    ASSERT_TRUE(endedCleanly());
}

INSTANTIATE_TEST_SUITE_P(Languages, StatusNotifierTrayTest,
                         ::testing::Values(TrayLanguage{"ja_JP.UTF-8", "メイン画面を表示", "終了",
                                                        "yyyy/MM/dd H:mm:ss"},
                                           TrayLanguage{"en_US.UTF-8", "Show Main Window", "Quit",
                                                        "M/d/yy h:mm:ss AP"}));

} // namespace
} // namespace brindle::test
