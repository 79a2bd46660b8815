#include "XWindows.h"

#include "Polling.h"

#include <QProcess>
#include <QRegularExpression>

namespace brindle::test {

using namespace std::chrono_literals;

namespace {

QString hexId(XWindows::Id window) {
    return QStringLiteral("0x") + QString::number(window, 16);
}

// Escapes the characters that mean something in a POSIX extended expression.
QString exactPattern(const QString& text) {
    static const QString special = QStringLiteral(".[]()*+?{}|^$\\");
    QString pattern = QStringLiteral("^");
    for (const QChar c : text) {
        if (special.contains(c)) {
            pattern += QLatin1Char('\\');
        }
        pattern += c;
    }
    return pattern + QStringLiteral("$");
}

int field(const QString& text, const QString& label) {
    const QRegularExpression expression(QRegularExpression::escape(label) +
                                        QStringLiteral(":\\s*(-?\\d+)"));
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

QList<XWindows::Id> XWindows::find(const QString& title) const {
    QList<Id> windows;
    const QStringList lines =
        run(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                        QStringLiteral("--name"), exactPattern(title)})
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        windows.append(line.trimmed().toUInt());
    }
    return windows;
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
    const QString info = run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), hexId(window)});
    const int width = field(info, QStringLiteral("Width"));
    const int height = field(info, QStringLiteral("Height"));
    if (width < 0 || height < 0) {
        return {};
    }
    return QRect(field(info, QStringLiteral("Absolute upper-left X")),
                 field(info, QStringLiteral("Absolute upper-left Y")), width, height);
}

bool XWindows::viewable(Id window) const {
    return run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), hexId(window)})
        .contains(QStringLiteral("Map State: IsViewable"));
}

QImage XWindows::capture(Id window, Framing framing) const {
    QStringList arguments{QStringLiteral("-window"), hexId(window)};
    if (framing == Framing::WithFrame) {
        arguments << QStringLiteral("-frame");
    }
    arguments << QStringLiteral("png:-");
    QProcess process;
    process.setProcessEnvironment(environment_);
    process.start(QStringLiteral("import"), arguments);
    process.waitForFinished(15000);
    return QImage::fromData(process.readAllStandardOutput(), "PNG")
        .convertToFormat(QImage::Format_RGB32);
}

QString XWindows::property(Id window, const QString& name) const {
    return run(QStringLiteral("xprop"), {QStringLiteral("-id"), hexId(window), name}).trimmed();
}

void XWindows::activate(Id window) const {
    run(QStringLiteral("xdotool"),
        {QStringLiteral("windowactivate"), QStringLiteral("--sync"), QString::number(window)});
}

void XWindows::moveTo(Id window, int x, int y) const {
    run(QStringLiteral("xdotool"),
        {QStringLiteral("windowmove"), QStringLiteral("--sync"), QString::number(window),
         QString::number(x), QString::number(y)});
}

void XWindows::pressKeys(const QStringList& keys) const {
    run(QStringLiteral("xdotool"),
        QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("80")} + keys);
}

QList<XWindows::Id> XWindows::visibleProgramWindows() const {
    QList<Id> windows;
    const QStringList lines =
        run(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                        QStringLiteral("--class"), QStringLiteral("brindle")})
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        windows.append(line.trimmed().toUInt());
    }
    return windows;
}

bool XWindows::chooseMenuItem(Id window, int index) const {
    activate(window);
    const QList<Id> before = visibleProgramWindows();
    pressKeys({QStringLiteral("alt+f")});
    // The open menu is a new window of the program.
    Id menu = 0;
    pollUntil(
        [&] {
            for (const Id candidate : visibleProgramWindows()) {
                if (!before.contains(candidate)) {
                    menu = candidate;
                }
            }
            return menu != 0;
        },
        10s);
    if (menu == 0) {
        return false;
    }
    QStringList keys{QStringLiteral("Home")};
    for (int i = 0; i < index; ++i) {
        keys << QStringLiteral("Down");
    }
    pressKeys(keys << QStringLiteral("Return"));
    return pollUntil([&] { return !viewable(menu); }, 10s);
}

void XWindows::close(Id window) const {
    activate(window);
    // openbox's own binding for closing the active window.
    pressKeys({QStringLiteral("alt+F4")});
}

} // namespace brindle::test
