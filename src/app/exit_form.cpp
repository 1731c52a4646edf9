#include "app/exit_form.h"

#include <QPushButton>

namespace {

QPushButton *addButton(QDialog *dialog, const char *name, const QString &caption, QRect geometry)
{
    auto *button = new QPushButton(caption, dialog);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    return button;
}

} // namespace

Texitform::Texitform(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Texitform"));
    setWindowTitle(tr("Confirm"));
    setFixedSize(406, 96);
    setModal(true);
    Button1 = addButton(this, "Button1", tr("Save && Exit"), {12, 32, 101, 25});
    Button2 = addButton(this, "Button2", tr("No Save && Exit"), {128, 32, 149, 25});
    Button3 = addButton(this, "Button3", tr("Cancel"), {292, 32, 85, 25});
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Button3);
    connect(Button1, &QPushButton::clicked, this, &Texitform::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &Texitform::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &Texitform::Button3Click);
    Button1->setFocus();
}

Texitform::~Texitform() {}

void Texitform::Button1Click()
{
    done(1);
}

void Texitform::Button2Click()
{
    done(2);
}

void Texitform::Button3Click()
{
    reject();
}
