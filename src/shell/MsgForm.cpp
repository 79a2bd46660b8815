#include "shell/MsgForm.h"

#include "shell/FormStyle.h"
#include "shell/MainForm.h"
#include "shell/Twips.h"
#include "shell/WindowStacking.h"

#include <QLineEdit>

namespace brindle {

namespace {

QLineEdit* makeBorderlessBox(QWidget* parent, QRect place, Qt::Alignment alignment) {
    auto* box = new QLineEdit(parent);
    box->setGeometry(place);
    box->setFrame(false);
    box->setAlignment(alignment);
    return box;
}

} // namespace

MsgForm::MsgForm(MainForm& main) : main_(main) {
    setFixedWindow(this, QStringLiteral("新着お知らせボード"), 3600, 285, true);
    Text1 = makeBorderlessBox(this, twipsRect(0, 0, 3135, 270), Qt::AlignCenter);
    Text1->setText(QStringLiteral("新着メールがあります。"));
    setTextColour(Text1, QColor(0, 0, 255));
    Text2 = makeBorderlessBox(this, twipsRect(3120, 0, 495, 270), Qt::AlignRight);
    setTabOrder(Text1, Text2);
}

void MsgForm::Form_Load() {
    main_.platform().stacking->setTopmost(*this, true);
}

} // namespace brindle
