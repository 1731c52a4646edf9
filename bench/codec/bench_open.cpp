// Opening large Japanese and Korean files: decode throughput against iconv, the whole open
// command against a bare setPlainText of the same text, and peak memory.
//
//   build/bin/bench_open [--mb N] [--dir FOLDER] [--only utf8|sjis|euc|cp949|utf16le]
//
// Writes one N MB file (default 100) per encoding (UTF-8, Shift JIS, EUC-JP,
// code page 949, UTF-16 LE) into a temporary folder, then measures each in child processes so
// that every peak-memory figure starts from a fresh process.
#include "app/main_window.h"
#include "codec/decoders.h"
#include "codec/file_reading.h"
#include "platform/qt_platform.h"
#include "settings/app_state.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <map>
#include <spawn.h>
#include <string_view>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct Kind
{
    const char *name;
    FileEncoding encoding;
    const char *iconvName;
};

const Kind kinds[] = {
    {"utf8", UTF8, "UTF-8"},   {"sjis", SJIS, "CP932"},          {"euc", EUC, "EUC-JP"},
    {"cp949", CP949, "CP949"}, {"utf16le", UTF16LE, "UTF-16LE"},
};

const Kind *findKind(const QString &name)
{
    for (const Kind &k : kinds)
        if (name == QLatin1String(k.name))
            return &k;
    return nullptr;
}

// CPU time of this process in nanoseconds: the machine is shared, so wall time
// says more about the neighbours than about the code.
qint64 cpuNs()
{
    timespec ts;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

// Measures wall and CPU time of a piece of work.
struct Stopwatch
{
    QElapsedTimer wall;
    qint64 cpu0 = 0;
    Stopwatch() { restart(); }
    void restart()
    {
        wall.start();
        cpu0 = cpuNs();
    }
    qint64 cpu() const { return cpuNs() - cpu0; }
    qint64 elapsed() const { return wall.nsecsElapsed(); }
};

// Peak resident memory of this process in MB, and a reset of that peak.
double peakMb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return -1;
}

void resetPeak()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

QString loadAverage()
{
    QFile f(QStringLiteral("/proc/loadavg"));
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()).section(u' ', 0, 2)
                                       : QStringLiteral("?");
}

// Characters every encoding has: JIS X 0208 kana, level-1 kanji and punctuation.
std::vector<char16_t> japanesePool()
{
    std::vector<char16_t> pool;
    for (const CodeEntry &e : EucTable) {
        const unsigned row = e.code >> 8;
        if (row == 0xA4 || row == 0xA5 || (row >= 0xB0 && row <= 0xCF))
            pool.push_back(e.character);
    }
    pool.push_back(0x3001);
    pool.push_back(0x3002);
    return pool;
}

// Korean: the Hangul syllables of KS X 1001, one in fifty of them replaced by
// an extension syllable, and punctuation.
std::vector<char16_t> koreanPool()
{
    std::vector<char16_t> pool;
    for (const CodeEntry &e : Cp949Table) {
        const bool ks = (e.code >> 8) >= 0xA1 && (e.code & 0xFF) >= 0xA1;
        if (e.character >= 0xAC00 && e.character <= 0xD7A3 && (ks || e.code % 50 == 0))
            pool.push_back(e.character);
    }
    // Ordinary text repeats a few hundred syllables far more than the rest.
    const std::u16string_view common = u"우리는오늘서울에서한국어를배우고있습니다그래서정말좋은"
                                       u"시간이었어요감사합니다다음에또만나요사람들이많이왔고";
    for (int k = 0; k < 60; ++k)
        pool.insert(pool.end(), common.begin(), common.end());
    pool.push_back(u'.');
    pool.push_back(u',');
    return pool;
}

// Writes lines of mixed Japanese (or Korean) and ASCII until the file holds `bytes` bytes.
bool generate(const Kind &kind, const QString &path, qint64 bytes)
{
    std::map<char16_t, std::uint16_t> reverse;
    const std::span<const CodeEntry> table =
        kind.encoding == SJIS    ? std::span<const CodeEntry>(SjisTable)
        : kind.encoding == CP949 ? std::span<const CodeEntry>(Cp949Table)
                                 : std::span<const CodeEntry>(EucTable);
    for (const CodeEntry &e : table)
        reverse.emplace(e.character, e.code); // the lowest code wins
    const std::vector<char16_t> pool = kind.encoding == CP949 ? koreanPool() : japanesePool();
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    std::uint32_t seed = 12345;
    const auto next = [&seed] { return (seed = seed * 1664525u + 1013904223u) >> 8; };
    QByteArray chunk;
    qint64 written = 0;
    // An ASCII first line, as most files have: UTF-16 without a mark is then
    // recognised as little-endian before any kanji whose low byte is zero.
    const QString header = QStringLiteral("Tavril benchmark text\n");
    for (QChar c : header) {
        if (kind.encoding == UTF16LE)
            chunk.append(char(c.unicode())).append('\0');
        else
            chunk.append(char(c.unicode()));
    }
    while (written < bytes) {
        while (chunk.size() < (1 << 20)) {
            const int length = 20 + int(next() % 50);
            for (int i = 0; i < length; ++i) {
                const std::uint32_t r = next();
                const char16_t c = r % 8 == 0    ? char16_t(u'a' + (r >> 3) % 26)
                                   : r % 16 == 1 ? u' '
                                                 : pool[(r >> 4) % pool.size()];
                switch (kind.encoding) {
                case UTF8:
                    chunk.append(QString(QChar(c)).toUtf8());
                    break;
                case UTF16LE:
                    chunk.append(char(c & 0xFF)).append(char(c >> 8));
                    break;
                default: {
                    const std::uint16_t code = c < 0x80 ? c : reverse.at(c);
                    if (code > 0xFF)
                        chunk.append(char(code >> 8));
                    chunk.append(char(code & 0xFF));
                }
                }
            }
            if (kind.encoding == UTF16LE)
                chunk.append("\n\0", 2);
            else
                chunk.append('\n');
        }
        qint64 cut = std::min<qint64>(chunk.size(), bytes - written);
        if (cut < chunk.size()) {
            // Cut after a line end, so that the file stays well-formed.
            if (kind.encoding == UTF16LE)
                while (cut >= 2 && !(cut % 2 == 0 && chunk[cut - 2] == '\n' && chunk[cut - 1] == 0))
                    --cut;
            else
                cut = chunk.lastIndexOf('\n', cut - 1) + 1;
        }
        if (out.write(chunk.constData(), cut) != cut)
            return false;
        written += cut;
        chunk.clear();
        if (cut < chunk.size() || cut == 0)
            break;
    }
    return true;
}

QString decodeFile(const QString &path, FileEncoding encoding)
{
    TextBuffer buffer;
    ReadTextFile(path, encoding, buffer);
    return QString(reinterpret_cast<const QChar *>(buffer.data()), qsizetype(buffer.size()));
}

// --- child processes: each prints one line "key=value ..." -------------------

class BenchPlatform : public QtPlatform
{
public:
    QString answer;
    QString openFileName(QWidget *, const FileDialogRequest &) override { return answer; }
    void errorBox(QWidget *, const QString &text, const QString &) override
    {
        std::fprintf(stderr, "error box: %s\n", qPrintable(text));
    }
};

int childDecode(const QString &path, const Kind &kind)
{
    // Best of three; the figure counts detection out, reading and decoding in.
    qint64 best = -1;
    std::size_t units = 0;
    for (int round = 0; round < 3; ++round) {
        Stopwatch t;
        TextBuffer buffer;
        ReadTextFile(path, kind.encoding, buffer);
        const qint64 ns = t.cpu();
        units = buffer.size();
        best = best < 0 ? ns : std::min(best, ns);
    }
    // The same decoding with a binary search per legacy code instead of the direct index.
    qint64 searchNs = 0;
    if (kind.encoding == SJIS || kind.encoding == EUC || kind.encoding == CP949) {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        const QByteArray bytes = f.readAll();
        std::vector<char16_t> out(std::size_t(bytes.size()));
        const std::span<const CodeEntry> table =
            kind.encoding == SJIS    ? std::span<const CodeEntry>(SjisTable)
            : kind.encoding == CP949 ? std::span<const CodeEntry>(Cp949Table)
                                     : std::span<const CodeEntry>(EucTable);
        Stopwatch t;
        const auto *in = reinterpret_cast<const std::uint8_t *>(bytes.constData());
        std::size_t o = 0;
        for (qsizetype i = 0; i < bytes.size();) {
            const std::uint8_t c = in[i];
            if (c < 0x80) {
                out[o++] = c;
                ++i;
            } else if (i + 1 < bytes.size()) {
                out[o++] = LookupCode(table, std::uint16_t(c << 8 | in[i + 1]));
                i += 2;
            } else {
                ++i;
            }
        }
        searchNs = t.cpu() + qint64(out[o / 2] == 0); // keep the loop
    }
    std::printf("decode_ns=%lld units=%zu search_ns=%lld\n", best, units, searchNs);
    return 0;
}

int childOpen(const QString &path)
{
    BenchPlatform platformForBench;
    setPlatform(&platformForBench);
    platformForBench.answer = path;
    TForm1 form({QStringLiteral("bench_open")});
    form.resize(800, 600);
    form.show();
    QCoreApplication::processEvents();
    const double before = peakMb();
    resetPeak();
    Stopwatch t;
    const EncodingChoice choice = ChooseEncoding(path);
    const qint64 detectNs = t.cpu();
    t.restart();
    form.opentextfile1Click();
    const qint64 openNs = t.cpu();
    const qint64 openWallNs = t.elapsed();
    QCoreApplication::processEvents();
    const qint64 withPaintNs = t.cpu();
    std::printf("open_ns=%lld open_wall_ns=%lld open_paint_ns=%lld detect_ns=%lld peak_mb=%.1f "
                "base_mb=%.1f label=\"%s\" length=%lld\n",
                openNs, openWallNs, withPaintNs, detectNs, peakMb(), before,
                EncodingLabel(choice.encoding, choice.bom).data(),
                static_cast<long long>(form.memo().length()));
    setPlatform(nullptr);
    return 0;
}

int childBare(const QString &path, const Kind &kind)
{
    QPlainTextEdit edit;
    edit.resize(800, 600);
    edit.setLineWrapMode(QPlainTextEdit::NoWrap);
    edit.show();
    QCoreApplication::processEvents();
    QString text = decodeFile(path, kind.encoding);
    text.squeeze();
    resetPeak();
    Stopwatch t;
    edit.setPlainText(text);
    const qint64 ns = t.cpu();
    QCoreApplication::processEvents();
    const qint64 withPaintNs = t.cpu();
    std::printf("bare_ns=%lld bare_paint_ns=%lld bare_peak_mb=%.1f\n", ns, withPaintNs, peakMb());
    return 0;
}

QMap<QString, QString> runChild(const QStringList &args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(QCoreApplication::applicationFilePath(), args);
    p.waitForFinished(-1);
    QMap<QString, QString> values;
    const QString out = QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
    // key=value pairs; a quoted value may hold blanks.
    qsizetype i = 0;
    while (i < out.size()) {
        const qsizetype eq = out.indexOf(u'=', i);
        if (eq < 0)
            break;
        const QString key = out.mid(i, eq - i).trimmed();
        qsizetype end;
        QString value;
        if (eq + 1 < out.size() && out[eq + 1] == u'"') {
            end = out.indexOf(u'"', eq + 2);
            value = out.mid(eq + 2, end - eq - 2);
            ++end;
        } else {
            end = out.indexOf(u' ', eq);
            if (end < 0)
                end = out.size();
            value = out.mid(eq + 1, end - eq - 1);
        }
        values.insert(key, value);
        i = end + 1;
    }
    return values;
}

// CPU time (user + system) of `iconv -f X -t UTF-16LE file > /dev/null`, best of three.
qint64 timeIconv(const Kind &kind, const QString &path)
{
    const QByteArray file = QFile::encodeName(path);
    qint64 best = -1;
    for (int round = 0; round < 3; ++round) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        char *argv[] = {const_cast<char *>("iconv"),
                        const_cast<char *>("-f"),
                        const_cast<char *>(kind.iconvName),
                        const_cast<char *>("-t"),
                        const_cast<char *>("UTF-16LE"),
                        const_cast<char *>(file.constData()),
                        nullptr};
        pid_t pid;
        const int rc = posix_spawnp(&pid, "iconv", &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        if (rc != 0)
            return -1;
        int status = 0;
        rusage usage{};
        if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
            return -1;
        const qint64 ns = (qint64(usage.ru_utime.tv_sec) + usage.ru_stime.tv_sec) * 1000000000 +
                          (qint64(usage.ru_utime.tv_usec) + usage.ru_stime.tv_usec) * 1000;
        best = best < 0 ? ns : std::min(best, ns);
    }
    return best;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc >= 4 && QByteArray(argv[1]).startsWith("--child")) {
        QApplication app(argc, argv);
        const QString mode = QString::fromLatin1(argv[1]);
        const QString path = QString::fromLocal8Bit(argv[2]);
        const Kind *kind = findKind(QString::fromLatin1(argv[3]));
        if (!kind)
            return 2;
        if (mode == QLatin1String("--child-decode"))
            return childDecode(path, *kind);
        if (mode == QLatin1String("--child-open"))
            return childOpen(path);
        return childBare(path, *kind);
    }

    QCoreApplication app(argc, argv);
    qint64 megabytes = 100;
    QString folder;
    QString only; // one of utf8, sjis, euc, cp949, utf16le
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--mb"))
            megabytes = args[++i].toLongLong();
        else if (args[i] == QLatin1String("--dir"))
            folder = args[++i];
        else if (args[i] == QLatin1String("--only"))
            only = args[++i];
    }
    QTemporaryDir temp(folder.isEmpty() ? QDir::tempPath() + QStringLiteral("/bench_open-XXXXXX")
                                        : folder + QStringLiteral("/bench_open-XXXXXX"));
    if (!temp.isValid())
        return 1;
    std::printf("load average at start: %s\n", qPrintable(loadAverage()));
    std::printf("%-8s %7s %8s | %9s %9s %6s | %7s %7s %7s %6s | %7s %7s | %s\n", "file", "MB",
                "units M", "decode/s", "iconv/s", "ratio", "open s", "+paint", "bare s", "ratio",
                "peak MB", "bareMB", "label");
    for (const Kind &kind : kinds) {
        if (!only.isEmpty() && only != QLatin1String(kind.name))
            continue;
        const QString path = temp.filePath(QString::fromLatin1(kind.name) + QStringLiteral(".txt"));
        if (!generate(kind, path, megabytes << 20)) {
            std::printf("%s: cannot write %s\n", kind.name, qPrintable(path));
            return 1;
        }
        const double mb = double(QFileInfo(path).size()) / (1 << 20);
        const QString name = QString::fromLatin1(kind.name);
        const auto decode = runChild({QStringLiteral("--child-decode"), path, name});
        const auto open = runChild({QStringLiteral("--child-open"), path, name});
        const auto bare = runChild({QStringLiteral("--child-bare"), path, name});
        const qint64 iconvNs = timeIconv(kind, path);
        const double decodeS = decode.value(QStringLiteral("decode_ns")).toDouble() / 1e9;
        const double openS = open.value(QStringLiteral("open_ns")).toDouble() / 1e9;
        const double openPaintS = open.value(QStringLiteral("open_paint_ns")).toDouble() / 1e9;
        const double bareS = bare.value(QStringLiteral("bare_ns")).toDouble() / 1e9;
        std::printf("%-8s %7.1f %8.1f | %7.0fMB %7.0fMB %6.2f | %7.2f %7.2f %7.2f %6.2f | %7.0f "
                    "%7.0f | %s\n",
                    kind.name, mb, decode.value(QStringLiteral("units")).toDouble() / 1e6,
                    mb / decodeS, iconvNs > 0 ? mb / (double(iconvNs) / 1e9) : 0.0,
                    iconvNs > 0 ? (double(iconvNs) / 1e9) / decodeS : 0.0, openS, openPaintS, bareS,
                    openS / bareS, open.value(QStringLiteral("peak_mb")).toDouble(),
                    bare.value(QStringLiteral("bare_peak_mb")).toDouble(),
                    qPrintable(open.value(QStringLiteral("label"))));
        const double searchNs = decode.value(QStringLiteral("search_ns")).toDouble();
        if (searchNs > 0)
            std::printf("         legacy codes by binary search instead of the direct index: "
                        "%.0f MB/s (decoder only)\n",
                        mb / (searchNs / 1e9));
        std::fflush(stdout);
        QFile::remove(path);
    }
    std::printf("load average at end: %s\n", qPrintable(loadAverage()));
    return 0;
}
