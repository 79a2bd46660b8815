#pragma once

#include "shell/NoticeBoard.h"
#include "shell/OnDemandWindow.h"

#include <QObject>
#include <functional>

namespace brindle {

class Mailer;
class SceneAndTune;

// What the user is told of new mail: the notice board and the new-mail scene,
// or, when so chosen, the start of the user's mail program.
class NewMailNotice : public QObject {
    Q_OBJECT
public:
    struct Parts {
        OnDemandWindow<NoticeBoard>& board;
        SceneAndTune& sceneAndTune;
        Mailer& mailer;
        std::function<bool()> launchMailerWanted;
        std::function<bool()> autoCloseBoardWanted;
        // Lets window events run for the given milliseconds.
        std::function<void(int)> wait;
    };

    explicit NewMailNotice(Parts parts, QObject* parent = nullptr);

    void announce(int count);

private:
    Parts parts_;
};

} // namespace brindle
