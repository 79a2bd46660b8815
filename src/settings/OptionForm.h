#pragma once

#include "shell/Form.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace brindle {

class MainForm;

// The server settings dialog: SMTP and POP3 servers, mail address and APOP.
class OptionForm : public Form {
    Q_OBJECT
public:
    explicit OptionForm(MainForm& main);

    void Form_Load() override;
    void OKCommand_Click();
    void CancelCommand_Click();

    QLabel* Label1 = nullptr;
    QLineEdit* SmtpText = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Pop3Text = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* MailText = nullptr;
    QCheckBox* ApopCheck = nullptr;
    QPushButton* OkCommand = nullptr;
    QPushButton* CancelCommand = nullptr;

protected:
    void escapePressed() override;

private:
    MainForm& main_;
};

} // namespace brindle
