#include "presentation/scene/SceneMessage.h"

namespace brindle {

SceneMessage SceneMessage::show(const QUrl& page, const QString& title) {
    SceneMessage message;
    message.page = page;
    message.title = title;
    return message;
}

SceneMessage SceneMessage::draw(const QUrl& page) {
    SceneMessage message;
    message.kind = Kind::Draw;
    message.page = page;
    return message;
}

SceneMessage SceneMessage::picture(const QUrl& page, QSize size, const QByteArray& pixels) {
    SceneMessage message;
    message.kind = Kind::Picture;
    message.page = page;
    message.size = size;
    message.pixels = pixels;
    return message;
}

SceneMessage SceneMessage::shown(const QUrl& page) {
    SceneMessage message;
    message.kind = Kind::Shown;
    message.page = page;
    return message;
}

QByteArray SceneMessage::toBytes() const {
    QByteArray bytes;
    switch (kind) {
    case Kind::Show:
        bytes = "show " + page.toEncoded() + ' ' + QUrl::toPercentEncoding(title);
        break;
    case Kind::Draw:
        bytes = "draw " + page.toEncoded();
        break;
    case Kind::Picture:
        bytes = "picture " + page.toEncoded() + ' ' + QByteArray::number(size.width()) + ' ' +
                QByteArray::number(size.height());
        break;
    case Kind::Shown:
        bytes = "shown " + page.toEncoded();
        break;
    }
    bytes += '\n';
    if (kind == Kind::Picture) {
        bytes += pixels;
    }
    return bytes;
}

} // namespace brindle
