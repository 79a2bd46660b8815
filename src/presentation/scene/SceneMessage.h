#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>
#include <QUrl>

namespace brindle {

// What the program and its scene program tell each other through a pipe, one
// line a message, the pixels of a picture after its line:
//   show <page> <title>               the program asks: show this page in the scene
//   draw <page>                       the program asks: draw this page off the screen
//   picture <page> <width> <height>   the scene program: a picture of the page follows,
//                                     width × height pixels of 4 bytes (0xffRRGGBB, host order)
//   shown <page>                      the scene program: the scene now shows the page
// A page is a local file's URL and a title UTF-8 text, both percent-encoded, so
// that no field holds a blank or a line end.
struct SceneMessage {
    enum class Kind { Show, Draw, Picture, Shown };

    Kind kind = Kind::Show;
    QUrl page;
    QString title;     // show
    QSize size;        // picture
    QByteArray pixels; // picture: size.width() * size.height() * 4 bytes

    static constexpr int MostPictureSide = 2048;

    static SceneMessage show(const QUrl& page, const QString& title);
    static SceneMessage draw(const QUrl& page);
    static SceneMessage picture(const QUrl& page, QSize size, const QByteArray& pixels);
    static SceneMessage shown(const QUrl& page);
    // The message as it goes through the pipe.
    QByteArray toBytes() const;
};

} // namespace brindle
