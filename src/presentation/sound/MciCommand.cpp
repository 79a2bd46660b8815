#include "presentation/sound/MciCommand.h"

#include <QStringList>

namespace brindle {

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

// Splits at blanks; a word that starts with a double quote runs to the next one.
std::optional<QStringList> splitWords(QStringView text) {
    QStringList words;
    qsizetype at = 0;
    while (true) {
        while (at < text.size() && isBlank(text[at])) {
            ++at;
        }
        if (at == text.size()) {
            return words;
        }
        if (text[at] == u'"') {
            const qsizetype closing = text.indexOf(u'"', at + 1);
            if (closing < 0) {
                return std::nullopt;
            }
            const qsizetype next = closing + 1;
            if (next < text.size() && !isBlank(text[next])) {
                return std::nullopt;
            }
            words.append(text.sliced(at + 1, closing - at - 1).toString());
            at = next;
        } else {
            const qsizetype start = at;
            while (at < text.size() && !isBlank(text[at])) {
                ++at;
            }
            words.append(text.sliced(start, at - start).toString());
        }
    }
}

bool isKeyword(const QString& word, QStringView keyword) {
    return word.compare(keyword, Qt::CaseInsensitive) == 0;
}

} // namespace

std::optional<MciCommand> MciCommand::parse(QStringView text) {
    const std::optional<QStringList> words = splitWords(text);
    if (!words || words->size() < 2 || words->at(1).isEmpty()) {
        return std::nullopt;
    }
    const QString& verb = words->at(0);
    const qsizetype count = words->size();
    MciCommand command;
    if (isKeyword(verb, u"open") && count == 4 && isKeyword(words->at(2), u"alias") &&
        !words->at(3).isEmpty()) {
        command.verb = Verb::Open;
        command.file = words->at(1);
        command.alias = words->at(3).toCaseFolded();
        return command;
    }
    command.alias = words->at(1).toCaseFolded();
    if (isKeyword(verb, u"play") && count == 2) {
        command.verb = Verb::Play;
    } else if (isKeyword(verb, u"play") && count == 4 && isKeyword(words->at(2), u"from") &&
               words->at(3) == u"0") {
        command.verb = Verb::Play;
        command.fromStart = true;
    } else if (isKeyword(verb, u"stop") && count == 2) {
        command.verb = Verb::Stop;
    } else if (isKeyword(verb, u"close") && count == 2) {
        command.verb = Verb::Close;
    } else if (isKeyword(verb, u"status") && count == 3 && isKeyword(words->at(2), u"mode")) {
        command.verb = Verb::StatusMode;
    } else {
        return std::nullopt;
    }
    return command;
}

} // namespace brindle
