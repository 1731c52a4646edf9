#include "app/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

ProgramTranslations::ProgramTranslations(const QLocale &locale)
{
    // A QTranslator removes itself from the application when destroyed.
    if (m_program.load(locale, QStringLiteral("tavriledit"), QStringLiteral("_"),
                       QStringLiteral(":/i18n")))
        QCoreApplication::installTranslator(&m_program);
    // Qt's own texts in the language ours were found in, so that a dialog never
    // mixes two languages.
    if (!m_program.isEmpty() &&
        m_qt.load(QLocale(m_program.language()), QStringLiteral("qtbase"), QStringLiteral("_"),
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&m_qt);
}
