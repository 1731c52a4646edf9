#include "desktop/copyright_form.h"

#include "desktop/web_sites.h"
#include "platform/platform.h"

#include <QLabel>

namespace {

QLabel *addLabel(QWidget *parent, const char *name, const QString &text, QPoint at)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->move(at);
    label->adjustSize();
    return label;
}

} // namespace

Tcopyrightform::Tcopyrightform(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("copyrightform"));
    setWindowTitle(tr("copyright"));
    setFixedSize(393, 178);
    setModal(true);

    Label1 = addLabel(this, "Label1", tr("Tavril Korean Text Editor Ver 0.8"), QPoint(20, 44));
    QFont big = Label1->font();
    big.setPixelSize(16);
    Label1->setFont(big);
    Label1->adjustSize();
    Label2 = addLabel(this, "Label2", tr("Contact: support@tavril.example"), QPoint(32, 106));
    Label3 = addLabel(this, "Label3", tr("Web: %1").arg(officialWebSiteUrl().toString()),
                      QPoint(32, 134));
}

Tcopyrightform::~Tcopyrightform() {}

void Tcopyrightform::centreOn(const QWidget *window)
{
    // Before the first showing the frame is not known yet; the client area stands in.
    const QRect outer = window->frameGeometry();
    const QSize mine = frameGeometry().size();
    move(outer.x() + (outer.width() - mine.width()) / 2,
         outer.y() + (outer.height() - mine.height()) / 2);
}

void showCopyrightForm(Tcopyrightform *box, QWidget *window)
{
    if (!box)
        return;
    box->centreOn(window);
    platform().execDialog(box);
}
