#pragma once

#include "settings/core/SharedSettings.h"
#include "shell/FormInstance.h"
#include "shell/FormTimer.h"
#include "shell/Platform.h"

#include <QMainWindow>
#include <QUrl>
#include <array>
#include <memory>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace brindle {

class IdPassForm;
class MsgForm;
class OptionForm;
class ProfileFile;
class SceneView;
class SetForm;

// The program's one permanent window. Its controls keep their design names;
// controls the user never sees are plain members holding the same values.
class MainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit MainForm(Platform platform);
    ~MainForm() override;

    Platform& platform() { return platform_; }
    const QString& programFolder() const { return platform_.programFolder; }
    // A file or page beside the program, from its backslash-led suffix.
    QString programFile(const QString& backslashSuffix) const;
    // The address of a scene page in the pictures folder, built from its path so
    // that no character of the folder's name is read as part of a URL.
    QUrl scenePage(const QString& pageName) const;
    // The mail server file: a bare name in the working directory, or a full path.
    const QString& serverFile() const { return platform_.settings.serverFile; }
    ProfileFile mainSettings() const;
    ProfileFile accountSettings() const;
    void WaitMilliseconds(int ms);

    SharedSettings shared;

    // Other windows, created on first use (see FormInstance).
    FormInstance<SetForm> setForm;
    FormInstance<OptionForm> optionForm;
    FormInstance<IdPassForm> idPassForm;
    FormInstance<MsgForm> msgForm;

    // Visible controls.
    QWidget* Picture2 = nullptr;
    SceneView* WebBrowser1 = nullptr;
    QWidget* Picture3 = nullptr;
    QCheckBox* Check2 = nullptr;
    QLabel* Label3 = nullptr;
    QWidget* Picture4 = nullptr;
    QLabel* Picture5 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    std::array<QLabel*, 2> Label2{};
    QCheckBox* Check3 = nullptr;
    QLineEdit* Text5 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;

    // Controls out of sight: counters, mail program path and title, loop switch.
    QString Text1 = QStringLiteral("Text1");
    QString Text4 = QStringLiteral("Text4");
    QString Text7;
    QString Text8;
    int Check1 = 1;
    float Label1Left = 2760; // twips, inside Picture5
    QString CommonDialog1FileName;

    FormTimer Timer1{100};
    FormTimer Timer2{100};
    FormTimer Timer3{0};
    FormTimer Timer4{20};
    FormTimer Timer5{1000};

    // Menus.
    QMenu* mfile = nullptr;
    QAction* mcheck = nullptr;
    QAction* mset = nullptr;
    QAction* mtask = nullptr;
    QAction* mset2 = nullptr;
    QAction* mebent = nullptr;
    QAction* mmodosu = nullptr;
    QAction* mzenmen = nullptr;
    QAction* mkaijyo = nullptr;
    QAction* mhp = nullptr;
    QMenu* mnuPopup = nullptr;
    std::array<QAction*, 3> mnu_Popup{};

    // Shell: start-up and shutdown.
    void Form_Load();
    void Form_Unload();

    // Mail checking.
    void CheckMail();
    void Command8_Click();
    void mcheck_Click();
    void Picture7_Click();
    void Timer1_Timer();
    void Timer3_Timer();
    void Command7_Click();
    void mset_Click();
    void Timer4_Timer();
    void Command5_Click();
    void Timer5_Timer();

    // Presentation.
    void Command2_Click();
    void Command3_Click();
    void Timer2_Timer();
    void mebent_Click();
    void mmodosu_Click();
    void Command1_Click();
    void mtask_Click();
    void TrayControl1_IconEvent(int code);
    void mnu_Popup_Click(int index);
    void mset2_Click();
    void Command9_Click();
    void mzenmen_Click();
    void mkaijyo_Click();
    void mhp_Click();
    void Command10_Click();
    void Picture10_Click();

    // Whether a mail check is running (checks never nest).
    bool isChecking() const { return checking_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout();
    void buildMenus();
    void wireEvents();
    // Mail checking.
    void runCheck();
    void loadAccount();
    void reactToNewMail(int count);
    int timedInterval();
    void setLampPicture(const QString& backslashSuffix);

    Platform platform_;
    std::unique_ptr<SceneView> scene_;
    bool checking_ = false;
    bool ending_ = false;
    // Whether the poll already started the check for the minute counter's current reach.
    bool reachChecked_ = false;
};

} // namespace brindle
