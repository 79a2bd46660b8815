#include "shell/NewMailNotice.h"

#include "mail/Mailer.h"
#include "presentation/SceneAndTune.h"

namespace brindle {

NewMailNotice::NewMailNotice(Parts parts, QObject* parent)
    : QObject(parent), parts_(std::move(parts)) {}

void NewMailNotice::announce(int count) {
    if (parts_.launchMailerWanted()) {
        parts_.mailer.launch();
        return;
    }
    parts_.board->showNotice(QStringLiteral("新着メールが有ります"), count);
    parts_.board.show();
    if (parts_.autoCloseBoardWanted()) {
        parts_.wait(1000);
        parts_.board.close();
    }
    parts_.sceneAndTune.showNewMailScene();
}

} // namespace brindle
