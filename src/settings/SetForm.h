#pragma once

#include "shell/Form.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace brindle {

class MainForm;

// The settings window: dial-up hang-up, check interval and the notice board's
// one-second close. Its controls are the run-time home of these settings.
class SetForm : public Form {
    Q_OBJECT
public:
    explicit SetForm(MainForm& main);

    void Form_Load() override;
    void Form_Unload() override;
    void Text2_Change();
    void Command1_Click();
    void Command2_Click();

    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QCheckBox* Check1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* Text2 = nullptr;
    QLabel* Label2 = nullptr;
    QCheckBox* Check2 = nullptr;

private:
    void writeSetting(const char* key, const QString& value);

    MainForm& main_;
};

} // namespace brindle
