#pragma once

#include "ui/Window.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace brindle {

class MessageBoxes;
class WindowStacking;
struct SharedSettings;

// The server settings dialog: SMTP and POP3 servers, mail address and APOP.
class ServerSettingsDialog : public Window {
    Q_OBJECT
public:
    // serverFile: the mail server file the settings are stored in.
    ServerSettingsDialog(QWidget* parent, QString serverFile, SharedSettings& shared,
                         WindowStacking& stacking, MessageBoxes& messageBoxes);

    void prepare() override;
    void confirm();
    void cancel();

    QLabel* smtpLabel = nullptr;
    QLineEdit* smtpEdit = nullptr;
    QLabel* pop3Label = nullptr;
    QLineEdit* pop3Edit = nullptr;
    QLabel* mailAddressLabel = nullptr;
    QLineEdit* mailAddressEdit = nullptr;
    QCheckBox* apopBox = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;

protected:
    void escapePressed() override;

private:
    QString serverFile_;
    SharedSettings& shared_;
    WindowStacking& stacking_;
    MessageBoxes& messageBoxes_;
};

} // namespace brindle
