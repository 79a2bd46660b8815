#include "mail/net/DropTakenInput.h"

namespace brindle {

void dropTakenInput(QByteArray& input, qsizetype& position) {
    if (position == input.size()) {
        input.resize(0);
        position = 0;
    } else if (position > input.size() / 2) {
        input.remove(0, position);
        position = 0;
    }
}

} // namespace brindle
