#include "ime/input_options.h"

#include "ime/hangul_layout.h"

#include <QSettings>
#include <QThreadPool>

namespace {

const QString LayoutKey = QStringLiteral("input/directLayout");
const QString ReorderKey = QStringLiteral("input/autoReorder");
const QString LearnKey = QStringLiteral("hanja/learn");

// One worker, so that writes happen in the order they were asked for; it is
// waited for when the program ends.
QThreadPool &writer()
{
    static QThreadPool pool;
    pool.setMaxThreadCount(1);
    return pool;
}

} // namespace

const InputOptions &inputOptionsOrDefaults(const InputOptions *options)
{
    static const InputOptions defaults;
    return options ? *options : defaults;
}

QString inputOptionsPath(const QString &folder)
{
    return folder + QStringLiteral("tavriledit.ini");
}

InputOptions readInputOptions(const QString &folder)
{
    InputOptions options;
    const QSettings settings(inputOptionsPath(folder), QSettings::IniFormat);
    const QByteArray layout = settings.value(LayoutKey).toString().toLatin1();
    for (const layouts::Layout &known : layouts::allLayouts()) {
        if (layout == known.id && layouts::isAvailable(layout))
            options.directLayout = layout;
    }
    options.autoReorder = settings.value(ReorderKey, false).toBool();
    options.learnHanja = settings.value(LearnKey, true).toBool();
    return options;
}

bool writeInputOptions(const QString &folder, const InputOptions &options)
{
    QSettings settings(inputOptionsPath(folder), QSettings::IniFormat);
    settings.setValue(LayoutKey, QString::fromLatin1(options.directLayout));
    settings.setValue(ReorderKey, options.autoReorder);
    settings.setValue(LearnKey, options.learnHanja);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

void writeInputOptionsLater(const QString &folder, const InputOptions &options)
{
    writer().start([folder, options] { writeInputOptions(folder, options); });
}

void waitForInputOptionsWritten()
{
    writer().waitForDone();
}
