#pragma once

#include "mail/FileChooser.h"

namespace brindle {

class QtFileChooser : public FileChooser {
public:
    QString chooseFile(QWidget* parent) override;
};

} // namespace brindle
