#pragma once

#include <QUrl>

namespace brindle {

// Opens a web address in the user's browser.
class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    virtual bool open(const QUrl& address) = 0;
};

} // namespace brindle
