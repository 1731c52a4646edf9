#include "ime/help_form.h"

#include <QGridLayout>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTextCursor>

QString romanizedKeymapHelpText()
{
    static const char *const lines[] = {
        "Korean Hangul Romanized input keymap",
        "",
        "space key=decide",
        "k(ㄱ , ㅋ , ㄲ)(toggle)",
        "b,p(ㅂ , ㅍ , ㅃ)(toggle)",
        "t,d(ㄷ , ㅌ , ㄸ)(toggle)",
        "c,j(ㅈ , ㅊ , ㅉ)(toggle)",
        "s(ㅅ , ㅆ)(toggle)",
        "m(ㅁ)",
        "n(ㄴ)",
        "ng(ㅇ)",
        "r,l(ㄹ)",
        "h(ㅎ)",
        "",
        "a(아) , i(이) , u(우) , e(에) , o(오) , U(으) , E(애) , O(어)",
        "ya(야) , yu(유) , yo(요) , kya(갸) , kyu(규) , kyo(교)",
        "wa/oa(와) , wi/ui(위) , Wi/Ui(의) , we/oi(외) , We/ue(웨)",
        " , wE/oE(왜) , wo/uO(워) ",
        "",
        "sa si su se so(사시수세소)",
        "hankUl(한글)",
        "annyOng(안녕)",
        "na la/na ra(나라)",
        "nala/nara(날아)",
        "iss sUbni ta(있습니다)",
    };
    QStringList list;
    for (const char *line : lines)
        list.append(QString::fromUtf8(line));
    return list.join(QLatin1Char('\n'));
}

Thelpform::Thelpform(QWidget *owner, const QFont &editorFont) : QWidget(owner, Qt::Window)
{
    setObjectName(QStringLiteral("helpform"));
    setWindowTitle(QStringLiteral("Hangul Romanized Input keymap"));
    resize(530, 417);

    // Memo1 at (2, 4), 525 x 409, growing with the window.
    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(2, 4, 3, 4);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setAccessibleName(QStringLiteral("Keymap help"));
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
