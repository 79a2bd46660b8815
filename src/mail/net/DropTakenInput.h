#pragma once

#include <QByteArray>

namespace brindle {

// Drops the bytes of input before position, which a reply reader has taken,
// once all are taken or they are more than half of it: a long session
// neither keeps every byte it was sent nor copies the rest after each reply.
void dropTakenInput(QByteArray& input, qsizetype& position);

} // namespace brindle
