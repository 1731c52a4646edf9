#include "support/test_env.h"

#include "settings/app_state.h"

#include <QFile>

namespace {
// Tests run headless whoever starts them, and never touch the user's own state
// and configuration folders (learned Hanja choices, the user dictionary).
const bool offscreen = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QTemporaryDir home;
    qputenv("XDG_STATE_HOME", QFile::encodeName(home.path() + QStringLiteral("/state")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path() + QStringLiteral("/config")));
    return true;
}();
} // namespace

namespace {
TestProgramDir *innermost = nullptr;
} // namespace

TestProgramDir::TestProgramDir() : m_outer(innermost)
{
    innermost = this;
    resetAppState();
    // Each test starts with no learned choice and no user dictionary.
    qputenv("XDG_STATE_HOME", QFile::encodeName(path() + QStringLiteral("state")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(path() + QStringLiteral("config")));
}

TestProgramDir::~TestProgramDir()
{
    innermost = m_outer;
    resetAppState();
}

QString TestProgramDir::currentPath()
{
    return innermost ? innermost->path() : QString();
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
