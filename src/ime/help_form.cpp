#include "ime/help_form.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTextCursor>

// The explanations are in the user's language; the examples are typed as shown.
QString romanizedKeymapHelpText()
{
    static const char *const Toggle = QT_TRANSLATE_NOOP("Thelpform", "(toggle)");
    struct Line
    {
        const char *example;
        const char *explanation; // translated, after the example
    };
    static const Line lines[] = {
        {"", QT_TRANSLATE_NOOP("Thelpform", "Korean Hangul Romanized input keymap")},
        {"", nullptr},
        {"", QT_TRANSLATE_NOOP("Thelpform", "space key=decide")},
        {"k(ㄱ , ㅋ , ㄲ)", Toggle},
        {"b,p(ㅂ , ㅍ , ㅃ)", Toggle},
        {"t,d(ㄷ , ㅌ , ㄸ)", Toggle},
        {"c,j(ㅈ , ㅊ , ㅉ)", Toggle},
        {"s(ㅅ , ㅆ)", Toggle},
        {"m(ㅁ)", nullptr},
        {"n(ㄴ)", nullptr},
        {"ng(ㅇ)", nullptr},
        {"r,l(ㄹ)", nullptr},
        {"h(ㅎ)", nullptr},
        {"", nullptr},
        {"a(아) , i(이) , u(우) , e(에) , o(오) , U(으) , E(애) , O(어)", nullptr},
        {"ya(야) , yu(유) , yo(요) , kya(갸) , kyu(규) , kyo(교)", nullptr},
        {"wa/oa(와) , wi/ui(위) , Wi/Ui(의) , we/oi(외) , We/ue(웨)", nullptr},
        {" , wE/oE(왜) , wo/uO(워) ", nullptr},
        {"", nullptr},
        {"sa si su se so(사시수세소)", nullptr},
        {"hankUl(한글)", nullptr},
        {"annyOng(안녕)", nullptr},
        {"na la/na ra(나라)", nullptr},
        {"nala/nara(날아)", nullptr},
        {"iss sUbni ta(있습니다)", nullptr},
    };
    QStringList list;
    for (const Line &line : lines) {
        QString text = QString::fromUtf8(line.example);
        if (line.explanation)
            text += QCoreApplication::translate("Thelpform", line.explanation);
        list.append(text);
    }
    return list.join(QLatin1Char('\n'));
}

Thelpform::Thelpform(QWidget *owner, const QFont &editorFont) : QWidget(owner, Qt::Window)
{
    setObjectName(QStringLiteral("helpform"));
    setWindowTitle(tr("Hangul Romanized Input keymap"));
    resize(530, 417);

    // Memo1 at (2, 4), 525 x 409, growing with the window.
    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(2, 4, 3, 4);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setAccessibleName(tr("Keymap help"));
    Memo1->setReadOnly(true);
    Memo1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    layout->addWidget(Memo1, 0, 0);

    Memo1->setFont(editorFont);
    Memo1->clear();
    Memo1->setPlainText(romanizedKeymapHelpText());
    QTextCursor cursor = Memo1->textCursor();
    cursor.movePosition(QTextCursor::Start);
    Memo1->setTextCursor(cursor);
}

Thelpform::~Thelpform() {}

void Thelpform::setVisible(bool visible)
{
    if (visible && !m_placed) {
        m_placed = true;
        // Centred on the main window the first time; where the user moves it
        // after that is kept.
        if (const QWidget *owner = parentWidget()) {
            // move() places the frame, which is not known before the first show:
            // take the owner's decoration as this window's.
            const QRect ownerFrame = owner->frameGeometry();
            QRect frame(QPoint(), size() + ownerFrame.size() - owner->size());
            frame.moveCenter(ownerFrame.center());
            move(frame.topLeft());
        }
    }
    QWidget::setVisible(visible);
}
