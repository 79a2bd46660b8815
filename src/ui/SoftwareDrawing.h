#pragma once

#include <QString>

namespace brindle {

// The program draws its small, mostly still window in software, without
// OpenGL. Set in its own environment before the application starts; a choice
// the user made in the environment is left as it is. The scene program, started
// with that environment, draws the same way and drops the same notices.
class SoftwareDrawing {
public:
    static void choose();
    // Whether Qt's message is one that only says OpenGL is not there, as chosen.
    static bool isNoticeOfNoOpenGl(const QString& message);

private:
    static void dropNoticesOfNoOpenGl();
};

} // namespace brindle
