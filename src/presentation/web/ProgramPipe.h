#pragma once

#include "presentation/scene/SceneMessageReader.h"

#include <QObject>
#include <QSocketNotifier>

namespace brindle {

// The scene program's end of the pipe to the program: the program's messages
// come on standard input, its own go out on standard output. The program
// closing its end, or breaking the protocol, closes the pipe.
class ProgramPipe : public QObject {
    Q_OBJECT
public:
    ProgramPipe();
    void send(const SceneMessage& message);

signals:
    void received(const SceneMessage& message);
    void closed();

private:
    void readInput();
    void close(const char* why);

    QSocketNotifier input_;
    SceneMessageReader reader_;
    bool closed_ = false;
};

} // namespace brindle
