#pragma once

#include "shell/Form.h"

class QLineEdit;

namespace brindle {

class MainForm;

// The new-mail notice board: one line with the message and the count, in
// front of all windows.
class MsgForm : public Form {
    Q_OBJECT
public:
    explicit MsgForm(MainForm& main);

    void Form_Load() override;

    QLineEdit* Text1 = nullptr;
    QLineEdit* Text2 = nullptr;

private:
    MainForm& main_;
};

} // namespace brindle
