#pragma once

#include "settings/core/ProgramFiles.h"
#include "ui/Window.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace brindle {

// The settings window: dial-up hang-up, check interval and the notice board's
// one-second close. Its boxes are the run-time home of these settings, saved
// when the window closes (and the interval at once whenever it becomes 0).
class SettingsWindow : public Window {
    Q_OBJECT
public:
    SettingsWindow(QWidget* parent, ProgramFiles files);

    void prepare() override;
    void saveOnClose() override;

    bool hangsUp() const;
    bool autoClosesBoard() const;

    QPushButton* accountButton = nullptr;
    QPushButton* serverButton = nullptr;
    QCheckBox* hangUpBox = nullptr;
    QLabel* hangUpLabel = nullptr;
    QLabel* intervalHeading = nullptr;
    QLabel* intervalHelp = nullptr;
    QLineEdit* intervalEdit = nullptr;
    QLabel* minutesLabel = nullptr;
    QCheckBox* autoCloseBoardBox = nullptr;

signals:
    void accountRequested();
    void serverSettingsRequested();
    // The interval field changed: its whole minutes, read as a start reads the
    // stored text, and the text as it stands.
    void intervalChanged(int minutes, const QString& text);

private:
    void onIntervalEdited();
    void writeSetting(const char* key, const QString& value);

    ProgramFiles files_;
};

} // namespace brindle
