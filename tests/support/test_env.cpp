#include "support/test_env.h"

#include "settings/app_state.h"

#include <QFile>

namespace {
// Tests run headless whoever starts them.
const bool offscreen = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return true;
}();
} // namespace

TestProgramDir::TestProgramDir()
{
    resetAppState();
    setProgramDirOverride(m_dir.path());
}

TestProgramDir::~TestProgramDir()
{
    setProgramDirOverride(QString());
    resetAppState();
}

QString TestProgramDir::path() const
{
    return m_dir.path() + QLatin1Char('/');
}

void TestProgramDir::write(const QString &name, const QByteArray &bytes) const
{
    QFile f(file(name));
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

QByteArray TestProgramDir::read(const QString &name) const
{
    QFile f(file(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
