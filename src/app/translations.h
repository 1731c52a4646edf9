// The program's texts in the user's language: its own translations (built into
// the program) and Qt's for the standard dialogs and buttons, chosen by a locale.
// Under C and English nothing is loaded and every text stays as written.
#pragma once

#include <QLocale>
#include <QTranslator>

class ProgramTranslations
{
public:
    // Installs the translations for `locale`'s languages into the application;
    // they stay installed until this object is destroyed. Make it before the
    // windows: texts are read when a window is built.
    explicit ProgramTranslations(const QLocale &locale = QLocale::system());
    ProgramTranslations(const ProgramTranslations &) = delete;
    ProgramTranslations &operator=(const ProgramTranslations &) = delete;

    // The language of the program's own texts, empty when they stay as written.
    QString language() const { return m_program.language(); }

private:
    QTranslator m_program;
    QTranslator m_qt;
};
