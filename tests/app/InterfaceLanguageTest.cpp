#include "support/MainWindowFixture.h"
#include "ui/InterfaceTexts.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>

namespace brindle::test {
namespace {

struct DesktopCase {
    const char* name;
    QList<std::pair<QString, QString>> variables;
    InterfaceLanguage expected;
};

class DesktopLanguageTest : public ::testing::TestWithParam<DesktopCase> {};

TEST_P(DesktopLanguageTest, PicksTheWindowsLanguage) {
    QProcessEnvironment environment;
    for (const auto& [name, value] : GetParam().variables) {
        environment.insert(name, value);
    }
    EXPECT_EQ(desktopLanguage(environment), GetParam().expected);
}

using enum InterfaceLanguage;
INSTANTIATE_TEST_SUITE_P(
    Environments, DesktopLanguageTest,
    ::testing::Values(
        DesktopCase{"Unset", {}, Japanese},
        DesktopCase{"C", {{"LANG", "C"}, {"LANGUAGE", "en"}}, Japanese},
        DesktopCase{"CUtf8", {{"LANG", "C.UTF-8"}}, Japanese},
        DesktopCase{"Posix", {{"LC_ALL", "POSIX"}, {"LANG", "en_US.UTF-8"}}, Japanese},
        DesktopCase{"Japanese", {{"LANG", "ja_JP.UTF-8"}}, Japanese},
        DesktopCase{"English", {{"LANG", "en_US.UTF-8"}}, English},
        DesktopCase{"German", {{"LANG", "de_DE.UTF-8"}}, English},
        DesktopCase{
            "MessagesOverLang", {{"LANG", "ja_JP.UTF-8"}, {"LC_MESSAGES", "fr_FR"}}, English},
        DesktopCase{
            "AllOverMessages", {{"LC_ALL", "ja_JP.eucJP"}, {"LC_MESSAGES", "en_GB"}}, Japanese},
        DesktopCase{
            "LanguageListFirst", {{"LANG", "en_US.UTF-8"}, {"LANGUAGE", "ja:en"}}, Japanese},
        DesktopCase{
            "LanguageListSkipsOthers", {{"LANG", "ja_JP.UTF-8"}, {"LANGUAGE", "fr:en"}}, English}),
    [](const auto& tested) { return std::string(tested.param.name); });

// What each window says in one language.
struct LanguageCase {
    const char* name;
    InterfaceLanguage language;
    QString fileMenu;
    QStringList fileItems;
    QStringList trayItems;
    QStringList titles; // settings, server settings, account, notice board, mailboxes, new mailbox
    QString boardText;
    QString lampOff;
};

class WindowsInLanguageTest : public MainWindowFixture,
                              public ::testing::WithParamInterface<LanguageCase> {
protected:
    WindowsInLanguageTest() : texts(GetParam().language) {
        EXPECT_TRUE(GetParam().language == Japanese || texts.complete());
        QApplication::setFont(QFont(QStringLiteral("IPAPGothic"), 9));
    }
    ~WindowsInLanguageTest() override { QApplication::setFont(previousFont); }

    static QStringList captions(const QMenu* menu) {
        QStringList result;
        for (const QAction* action : menu->actions()) {
            if (!action->isSeparator()) {
                result << action->text();
            }
        }
        return result;
    }

    // Every control a user can reach has a name a screen reader reads, and
    // every text fits its place whole.
    static void expectNamedAndFitting(QWidget& window) {
        for (QWidget* control : window.findChildren<QWidget*>()) {
            if (control->window() != &window || !control->isVisibleTo(&window)) {
                continue;
            }
            const std::string where = window.windowTitle().toStdString() + " / " +
                                      control->metaObject()->className() + " " +
                                      control->accessibleName().toStdString();
            if (qobject_cast<QAbstractButton*>(control) || qobject_cast<QLineEdit*>(control)) {
                const QAccessibleInterface* accessible =
                    QAccessible::queryAccessibleInterface(control);
                ASSERT_NE(accessible, nullptr) << where;
                EXPECT_FALSE(accessible->text(QAccessible::Name).isEmpty()) << where;
            }
            const auto* label = qobject_cast<QLabel*>(control);
            const auto* button = qobject_cast<QAbstractButton*>(control);
            QString text = label ? label->text() : button ? button->text() : QString();
            text.remove(QLatin1Char('&'));
            if (text.isEmpty() || !control->toolTip().isEmpty()) {
                continue;
            }
            const QStyle* style = control->style();
            const int room = control->contentsRect().width() -
                             (qobject_cast<QCheckBox*>(control)
                                  ? style->pixelMetric(QStyle::PM_IndicatorWidth) +
                                        style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing)
                                  : 0);
            if (label && label->wordWrap()) {
                EXPECT_LE(label->heightForWidth(room), label->height()) << where;
            } else {
                EXPECT_LE(control->fontMetrics().horizontalAdvance(text), room) << where;
            }
        }
    }

    InterfaceTexts texts;
    QFont previousFont = QApplication::font();
};

TEST_P(WindowsInLanguageTest, EveryWindowSpeaksItAndNamesItsControls) {
    const LanguageCase& expected = GetParam();
    MainWindow& main = start();
    EXPECT_EQ(main.fileMenu->title(), expected.fileMenu);
    EXPECT_EQ(captions(main.fileMenu), expected.fileItems);
    EXPECT_EQ(captions(main.tray.menu), expected.trayItems);
    EXPECT_EQ(main.lamp->accessibleName(), expected.lampOff);
    emit main.mailCheck.newMail(3);
    ASSERT_TRUE(main.noticeBoard.exists());
    EXPECT_EQ(main.noticeBoard->noticeText->text(), expected.boardText);

    QList<QWidget*> windows{&main,
                            &main.settingsWindow.get(),
                            &main.serverSettingsDialog.get(),
                            &main.accountDialog.get(),
                            &main.noticeBoard.get(),
                            &main.mailboxListWindow.get(),
                            &main.mailboxListWindow->addMailbox()};
    QStringList titles;
    for (QWidget* window : windows.mid(1)) {
        titles << window->windowTitle();
    }
    EXPECT_EQ(titles, expected.titles);
    for (QWidget* window : windows) {
        expectNamedAndFitting(*window);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Languages, WindowsInLanguageTest,
    ::testing::Values(LanguageCase{"Japanese",
                                   Japanese,
                                   "ファイル(&F)",
                                   {"メールチェック", "起動メーラーの設定", "タスクトレイに常駐",
                                    "設定", "メールボックス", "新着メールを通知", "イベント確認", "戻す",
                                    "常に前面表示", "前面表示解除", "作者のホームページ"},
                                   {"メイン画面を表示", "終了"},
                                   {"設定", "サーバー設定", "ID,PASS", "新着お知らせボード",
                                    "メールボックス", "メールボックスの追加"},
                                   "新着メールが有ります",
                                   "インターバルチェック: OFF"},
                      LanguageCase{
                          "English",
                          English,
                          "&File",
                          {"Check Mail", "Choose Mail Program", "Move to Tray", "Settings",
                           "Mailboxes", "Notify of New Mail", "Try New-Mail Scene", "Back to Normal",
                           "Always on Top", "Not on Top", "Author's Home Page"},
                          {"Show Main Window", "Quit"},
                          {"Settings", "Server", "Account", "New Mail", "Mailboxes", "Add Mailbox"},
                          "You have new mail.",
                          "Interval check: off"}),
    [](const auto& tested) { return std::string(tested.param.name); });

} // namespace
} // namespace brindle::test
