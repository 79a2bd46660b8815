#pragma once

#include "shell/Form.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace brindle {

class MainForm;

// The account dialog: POP3 ID and password, saved to the account file when
// the box is ticked.
class IdPassForm : public Form {
    Q_OBJECT
public:
    explicit IdPassForm(MainForm& main);

    void Form_Load() override;
    void OKCommand_Click();
    void CancelCommand_Click();

    QLabel* Label1 = nullptr;
    QLineEdit* IdText = nullptr;
    QLabel* Label2_0 = nullptr;
    QLineEdit* PassText = nullptr;
    QCheckBox* Check1 = nullptr;
    QLabel* Label2_1 = nullptr;
    QPushButton* OKCommand = nullptr;
    QPushButton* CancelCommand = nullptr;

protected:
    void enterPressed() override;
    void escapePressed() override;

private:
    MainForm& main_;
};

} // namespace brindle
