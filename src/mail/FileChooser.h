#pragma once

#include <QString>

class QWidget;

namespace brindle {

// The desktop's open-file dialog listing all files.
class FileChooser {
public:
    virtual ~FileChooser() = default;
    // The chosen full path, or an empty text when the user cancelled.
    virtual QString chooseFile(QWidget* parent) = 0;
};

} // namespace brindle
