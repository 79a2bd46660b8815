#include "mail/imap/ImapResponse.h"

namespace brindle {

QByteArray ImapResponse::word(int index) const {
    const QList<QByteArray> words = text.split(' ');
    return index < words.size() ? words.at(index).toUpper() : QByteArray();
}

QByteArray ImapResponse::afterFirstWord() const {
    const qsizetype blank = text.indexOf(' ');
    return blank < 0 ? QByteArray() : text.mid(blank + 1);
}

} // namespace brindle
