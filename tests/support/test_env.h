// Shared set-up for widget tests: a fresh program-wide state and a temporary
// program folder for the settings files.
#pragma once

#include <QTemporaryDir>

class TestProgramDir
{
public:
    TestProgramDir();
    ~TestProgramDir();
    QString path() const; // ends in a separator
    // The folder of the innermost TestProgramDir alive (empty when none): the
    // settings folder of the main windows the tests build.
    static QString currentPath();
    QString file(const QString &name) const { return path() + name; }
    void write(const QString &name, const QByteArray &bytes) const;
    QByteArray read(const QString &name) const;

private:
    QTemporaryDir m_dir;
    TestProgramDir *m_outer = nullptr;
};
