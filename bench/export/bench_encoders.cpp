// The encoders of "save with encoding" against iconv on the same text: CPU
// seconds of our write steps in memory (best of three) and of
// `iconv -f UTF-16LE -t X file > /dev/null` (best of three, a child process).
//   build/bin/bench_encoders [megabytes of UTF-16 text, default 50] [folder for the file]
// Japanese text (hiragana, level-1 kanji, punctuation, ASCII) for Shift JIS and
// EUC-JP, Korean (KS X 1001 syllables, some extension syllables, ASCII) for CP949,
// the Korean text for UTF-16 and UTF-8 with mark. Lines of about 60 units.
#include "codec/code_tables.h"
#include "export/output_format.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>

#include <sys/resource.h>
#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

double ownCpu()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

double childrenCpu()
{
    rusage r{};
    getrusage(RUSAGE_CHILDREN, &r);
    return double(r.ru_utime.tv_sec) + double(r.ru_utime.tv_usec) / 1e6 +
           double(r.ru_stime.tv_sec) + double(r.ru_stime.tv_usec) / 1e6;
}

// Random text: `pick` gives the next character beyond ASCII; a fifth of the
// characters are ASCII letters and blanks.
template <typename Pick> std::u16string makeText(std::size_t units, Pick pick)
{
    std::u16string text;
    text.reserve(units + 80);
    std::uint32_t seed = 12345;
    const auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    while (text.size() < units) {
        const std::size_t lineEnd = text.size() + 40 + next() % 40;
        while (text.size() < lineEnd)
            text.push_back(next() % 5 == 0 ? char16_t(u'a' + next() % 26) : pick(next()));
        text.push_back(u'\n');
    }
    return text;
}

} // namespace

int main(int argc, char *argv[])
{
    const double megabytes = argc > 1 ? std::atof(argv[1]) : 50.0;
    const QString folder = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QDir::tempPath();
    const std::size_t units = std::size_t(megabytes * 1024 * 1024 / 2);

    // Characters every encoder and iconv can write.
    std::vector<char16_t> japanese, korean, extension;
    for (const CodeEntry &e : EucTable)
        if ((e.code >= 0xA4A1 && e.code <= 0xA4F3) || (e.code >= 0xB0A1 && e.code <= 0xCFD3) ||
            (e.code >= 0xA1A1 && e.code <= 0xA1AB))
            japanese.push_back(e.character);
    for (const CodeEntry &e : Cp949Table) {
        if (e.character < 0xAC00 || e.character > 0xD7A3)
            continue;
        ((e.code >> 8) >= 0xA1 && (e.code & 0xFF) >= 0xA1 ? korean : extension)
            .push_back(e.character);
    }
    const std::u16string ja =
        makeText(units, [&](std::uint32_t r) { return japanese[r % japanese.size()]; });
    const std::u16string ko = makeText(units, [&](std::uint32_t r) {
        return r % 50 == 0 ? extension[r % extension.size()] : korean[r % korean.size()];
    });

    struct Case
    {
        const char *name;
        OutputFormat format;
        const std::u16string *text;
        const char *iconvName;
    };
    const Case cases[] = {
        {"Shift JIS", OutputFormat::ShiftJis, &ja, "CP932"},
        {"EUC-JP", OutputFormat::EucJp, &ja, "EUC-JP"},
        {"CP949", OutputFormat::Cp949, &ko, "CP949"},
        {"UTF-16 LE", OutputFormat::Utf16Le, &ko, "UTF-16LE"},
        {"UTF-16 BE", OutputFormat::Utf16Be, &ko, "UTF-16BE"},
        {"UTF-8", OutputFormat::Utf8Bom, &ko, "UTF-8"},
    };
    auto buffer = std::make_unique<char[]>(StepBufferSize);
    std::printf("%zu code units (%.1f MB as UTF-16) per text; CPU seconds, best of three\n", units,
                double(units) * 2 / 1e6);
    std::printf("%-10s %10s %10s %10s %10s %8s\n", "encoding", "ours s", "MB/s", "iconv s", "MB/s",
                "speed-up");
    for (const Case &c : cases) {
        const std::u16string &text = *c.text;
        double ours = 1e9;
        std::size_t bytes = 0;
        for (int round = 0; round < 3; ++round) {
            const double cpu0 = ownCpu();
            bytes = 0;
            for (std::size_t at = 0; at < text.size();) {
                const StepResult step = encodeStep(c.format, buffer.get(), text.data() + at,
                                                   text.size() - at, LineBreakStyle::Lf);
                at += step.consumed;
                bytes += step.bytes;
            }
            ours = std::min(ours, ownCpu() - cpu0);
        }
        const QString input = folder + QStringLiteral("/bench_encoders.utf16le");
        {
            QFile f(input);
            if (!f.open(QIODevice::WriteOnly)) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(input));
                return 1;
            }
            f.write(reinterpret_cast<const char *>(text.data()), qint64(text.size() * 2));
        }
        double theirs = 1e9;
        for (int round = 0; round < 3; ++round) {
            QProcess iconv;
            iconv.setStandardInputFile(input);
            iconv.setStandardOutputFile(QProcess::nullDevice());
            const double cpu0 = childrenCpu();
            iconv.start(QStringLiteral("iconv"),
                        {QStringLiteral("-f"), QStringLiteral("UTF-16LE"), QStringLiteral("-t"),
                         QString::fromLatin1(c.iconvName)});
            if (!iconv.waitForFinished(600000) || iconv.exitCode() != 0) {
                std::fprintf(stderr, "iconv to %s failed\n", c.iconvName);
                return 1;
            }
            theirs = std::min(theirs, childrenCpu() - cpu0);
        }
        QFile::remove(input);
        const double mb = double(text.size()) * 2 / 1e6;
        std::printf("%-10s %10.3f %10.0f %10.3f %10.0f %7.1fx  (%zu bytes)\n", c.name, ours,
                    mb / ours, theirs, mb / theirs, theirs / ours, bytes);
    }
    return 0;
}
