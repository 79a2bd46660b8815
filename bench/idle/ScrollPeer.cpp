// The idle bench's peer for the shown resting states: a window of the main
// window's size holding nothing but its title strip with the name scrolling
// across it, drawn by the same widgets at the same pace and with the same
// drawing settings. What the program costs beyond it is everything else.
#include "mail/Mailer.h"
#include "ui/ScrollingCaption.h"
#include "ui/SoftwareDrawing.h"
#include "ui/Twips.h"
#include "ui/WidgetStyle.h"

#include <QApplication>
#include <QFont>
#include <QPixmap>
#include <QTimer>

int main(int argc, char** argv) {
    using namespace brindle;
    qputenv("QT_QPA_PLATFORM", "xcb");
    SoftwareDrawing::choose();
    QApplication app(argc, argv);
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));

    QWidget window;
    window.setWindowTitle(QStringLiteral("scroll peer"));
    window.setFixedSize(twips(2775), twips(2895));
    setBackground(&window, QColor(64, 0, 0));
    QWidget strip(&window);
    strip.setGeometry(twipsRect(-120, 2160, 2895, 300));
    setBackground(&strip, QBrush(QPixmap(QStringLiteral(":/images/title.png"))));
    // The caption the program shows before a mail program is chosen.
    ScrollingCaption name(QStringLiteral("未設定"), twips(2415), &strip);
    name.setGeometry(0, 0, strip.width(), twips(255));
    setTextColour(&name, QColor(255, 255, 0));
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPointSizeF(11.25);
    font.setBold(true);
    name.setFont(font);

    int position = 0;
    QTimer step;
    QObject::connect(&step, &QTimer::timeout, [&] {
        position = (position + 1) % Mailer::Positions;
        name.setTextLeft(twips(Mailer::StartLeft - Mailer::StepTwips * static_cast<float>(position)));
    });
    step.start(Mailer::StepMilliseconds);
    window.show();
    return QApplication::exec();
}
