// Launcher files: the Exec quoting and string escapes for awkward paths, the
// atomic executable write, the folder rules and the icon lookup.
#include "desktop/desktop_entry.h"
#include "support/test_bytes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// An independent reader of one quoted Exec argument: the string escapes are
// undone first, then the quoting, then the doubled percent signs.
std::optional<QString> readQuotedExec(const QString &value)
{
    QString unescaped;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != u'\\') {
            unescaped += value[i];
            continue;
        }
        if (++i == value.size())
            return std::nullopt;
        switch (value[i].unicode()) {
        case u's':
            unescaped += u' ';
            break;
        case u'n':
            unescaped += u'\n';
            break;
        case u't':
            unescaped += u'\t';
            break;
        case u'r':
            unescaped += u'\r';
            break;
        case u'\\':
            unescaped += u'\\';
            break;
        default:
            return std::nullopt;
        }
    }
    if (unescaped.size() < 2 || !unescaped.startsWith(u'"') || !unescaped.endsWith(u'"'))
        return std::nullopt;
    QString argument;
    for (qsizetype i = 1; i + 1 < unescaped.size(); ++i) {
        QChar c = unescaped[i];
        if (c == u'"' || c == u'`' || c == u'$')
            return std::nullopt; // must have been escaped
        if (c == u'\\') {
            c = unescaped[++i];
            if (i + 1 >= unescaped.size() || !QStringView(u"\"`$\\").contains(c))
                return std::nullopt;
        } else if (c == u'%') {
            if (i + 2 >= unescaped.size() || unescaped[++i] != u'%')
                return std::nullopt;
        }
        argument += c;
    }
    return argument;
}

// The quoted executable of the Exec line, which must end in the file argument.
QString execLine(const QString &text)
{
    for (const QString &line : text.split(u'\n')) {
        if (line.startsWith(QLatin1String("Exec=")))
            return line.endsWith(QLatin1String(" %f")) ? line.mid(5).chopped(3)
                                                       : QStringLiteral("<no file argument>");
    }
    return {};
}

const auto ExecutableMode = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                            QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;

} // namespace

class TestDesktopEntry : public QObject
{
    Q_OBJECT
private slots:
    void execValue_data();
    void execValue();
    void wholeEntry();
    void unrepresentablePaths_data();
    void unrepresentablePaths();
    void writeIsExecutableAndOverwrites();
    void folderRules();
    void iconBesideInstalledExecutable();
};

void TestDesktopEntry::execValue_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("exec");
    QTest::newRow("plain") << "/usr/bin/tavriledit"
                           << R"("/usr/bin/tavriledit")";
    QTest::newRow("spaces") << "/home/u/My Programs/tavril edit"
                            << R"("/home/u/My Programs/tavril edit")";
    QTest::newRow("leading space in a folder") << "/ x/tavriledit"
                                               << R"("/ x/tavriledit")";
    QTest::newRow("double quote") << R"(/opt/say "hi"/tavriledit)"
                                  << R"("/opt/say \\"hi\\"/tavriledit")";
    QTest::newRow("backslash") << R"(/opt/a\b/tavriledit)"
                               << R"("/opt/a\\\\b/tavriledit")";
    QTest::newRow("dollar") << "/opt/$HOME/tavriledit"
                            << R"("/opt/\\$HOME/tavriledit")";
    QTest::newRow("backtick") << "/opt/`id`/tavriledit"
                              << R"("/opt/\\`id\\`/tavriledit")";
    QTest::newRow("percent") << "/opt/100%u/tavriledit"
                             << R"("/opt/100%%u/tavriledit")";
    QTest::newRow("other reserved") << "/opt/it's ~&;*?#()<>|/t"
                                    << R"("/opt/it's ~&;*?#()<>|/t")";
    QTest::newRow("Hangul and kana")
        << u"/home/사용자/エディタ/tavriledit"_qs << u"\"/home/사용자/エディタ/tavriledit\""_qs;
    QTest::newRow("outside the BMP") << u"/opt/\U0001F600 ü/t"_qs << u"\"/opt/\U0001F600 ü/t\""_qs;
    QTest::newRow("newline and tab") << "/opt/a\nb\tc\rd/t"
                                     << R"("/opt/a\nb\tc\rd/t")";
    QTest::newRow("everything") << u"/tmp/a b\"c\\d$e`f%g한/t"_qs
                                << u"\"/tmp/a b\\\\\"c\\\\\\\\d\\\\$e\\\\`f%%g한/t\""_qs;
}

void TestDesktopEntry::execValue()
{
    QFETCH(QString, path);
    QFETCH(QString, exec);
    const auto text = desktopEntryText(path);
    QVERIFY(text);
    QCOMPARE(execLine(*text), exec);
    // Whatever the escapes, a conforming reader gets the path back unchanged.
    QCOMPARE(readQuotedExec(exec), std::optional<QString>(path));
}

void TestDesktopEntry::wholeEntry()
{
    const QString path = u"/home/김 철수/\"quoted\"/back\\slash/$dir/tavriledit"_qs;
    const QString expected =
        u"[Desktop Entry]\n"
        "Type=Application\n"
        "Name=Tavril Korean Editor\n"
        "Comment=Plain-text editor with a built-in Korean input method\n"
        "Exec=\"/home/김 철수/\\\\\"quoted\\\\\"/back\\\\\\\\slash/\\\\$dir/tavriledit\" %f\n"
        "Terminal=false\n"
        "Categories=Utility;TextEditor;\n"
        "MimeType=text/plain;\n"
        "Keywords=Korean;Hangul;Hanja;Japanese;Kanji;encoding;Shift JIS;EUC-JP;UTF-8;text;editor;\n"_qs;
    QCOMPARE(desktopEntryText(path), std::optional<QString>(expected));

    // The icon is a plain string value: only the string escapes apply.
    const QString withIcon =
        *desktopEntryText(QStringLiteral("/opt/t/bin/tavriledit"),
                          u"/opt/t\\x/share/icons/hicolor/scalable/apps/tavriledit.svg"_qs);
    QVERIFY(withIcon.contains(u"\nExec=\"/opt/t/bin/tavriledit\" %f\n"
                              "Icon=/opt/t\\\\x/share/icons/hicolor/scalable/apps/tavriledit.svg\n"
                              "Terminal=false\n"_qs));
    QVERIFY(!expected.contains(QLatin1String("Icon=")));
}

void TestDesktopEntry::unrepresentablePaths_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("icon");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("relative") << "bin/tavriledit" << QString();
    QTest::newRow("control character") << "/opt/a\x01z/tavriledit" << QString();
    QTest::newRow("delete") << "/opt/a\x7fz/tavriledit" << QString();
    QTest::newRow("control character in icon") << "/opt/t"
                                               << "/opt/\x1b.svg";
}

void TestDesktopEntry::unrepresentablePaths()
{
    QFETCH(QString, path);
    QFETCH(QString, icon);
    QVERIFY(!desktopEntryText(path, icon));
}

void TestDesktopEntry::writeIsExecutableAndOverwrites()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("io.github.tavril.TavrilEditor.desktop"));
    const QString first = *desktopEntryText(u"/opt/첫째/tavriledit"_qs);
    QVERIFY(writeDesktopEntry(file, first));
    QCOMPARE(readFile(file), first.toUtf8());
    QCOMPARE(QFile::permissions(file) & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser),
             ExecutableMode);

    // An earlier entry without the execute bit is replaced and made executable.
    QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
    const QString second = *desktopEntryText(QStringLiteral("/opt/second/tavriledit"));
    QVERIFY(writeDesktopEntry(file, second));
    QCOMPARE(readFile(file), second.toUtf8());
    QVERIFY(QFile::permissions(file) & QFile::ExeOther);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("io.github.tavril.TavrilEditor.desktop")});
}

void TestDesktopEntry::folderRules()
{
    QTemporaryDir dir;
    const QString base = dir.path();
    QFile blocker(base + QStringLiteral("/file"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    QCOMPARE(desktopEntryPath(QString(), true), QString());
    QCOMPARE(desktopEntryPath(base, false),
             base + QStringLiteral("/io.github.tavril.TavrilEditor.desktop"));
    QCOMPARE(desktopEntryPath(base + QStringLiteral("/"), false),
             base + QStringLiteral("/io.github.tavril.TavrilEditor.desktop"));
    // A missing folder is made only when asked, with every missing parent, private.
    QCOMPARE(desktopEntryPath(base + QStringLiteral("/Desktop"), false), QString());
    QVERIFY(!QFileInfo::exists(base + QStringLiteral("/Desktop")));
    const QString apps = base + QStringLiteral("/.local/share/applications");
    QCOMPARE(desktopEntryPath(apps, true),
             apps + QStringLiteral("/io.github.tavril.TavrilEditor.desktop"));
    QVERIFY(QFileInfo(apps).isDir());
    QCOMPARE(QFile::permissions(base + QStringLiteral("/.local")) &
                 (QFile::ReadOther | QFile::ReadGroup | QFile::ExeOther),
             QFile::Permissions());
    // A regular file stands where a folder should be: nothing can be made there.
    QCOMPARE(desktopEntryPath(base + QStringLiteral("/file"), true), QString());
    QCOMPARE(desktopEntryPath(base + QStringLiteral("/file/applications"), true), QString());
}

void TestDesktopEntry::iconBesideInstalledExecutable()
{
    QTemporaryDir dir;
    const QString prefix = dir.path() + QStringLiteral("/pre fix");
    const QString exe = prefix + QStringLiteral("/bin/tavriledit");
    QCOMPARE(installedIconPath(exe), QString());
    QCOMPARE(installedIconPath(QString()), QString());
    const QString icons = prefix + QStringLiteral("/share/icons/hicolor/scalable/apps");
    QVERIFY(QDir().mkpath(icons));
    QFile icon(icons + QStringLiteral("/io.github.tavril.TavrilEditor.svg"));
    QVERIFY(icon.open(QIODevice::WriteOnly));
    icon.close();
    QCOMPARE(installedIconPath(exe), icons + QStringLiteral("/io.github.tavril.TavrilEditor.svg"));
}

QTEST_GUILESS_MAIN(TestDesktopEntry)
#include "tst_desktop_entry.moc"
