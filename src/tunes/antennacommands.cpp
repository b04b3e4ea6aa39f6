#include "antennacommands.h"

#include "computedtunes.h"
#include "settings/conflayout.h"
#include "settings/settingslocation.h"
#include "settings/settingslock.h"
#include "tune/tunerparts.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <cstdio>

namespace {

int failed(const QString &why)
{
    std::fprintf(stderr, "orvane: %s\n", qPrintable(why));
    return 1;
}

} // namespace

int importAntenna(int antenna, const QString &path, const QString &programDir,
                  const QString &dataDir, QSettings &settings)
{
    const SettingsChoice choice = chooseSettingsFile(programDir, dataDir);
    QString error;
    const std::unique_ptr<SettingsLock> lock = holdSettingsFile(choice, &error);
    if (!lock)
        return failed(error);
    std::optional<AntennaMeasurement> measurement = AntennaMeasurement::readFile(path, &error);
    if (!measurement)
        return failed(error);
    measurement->imported = QDateTime::currentMSecsSinceEpoch();

    // The relay steps come from the settings file the console would use.
    QFile conf(choice.seed.isEmpty() ? choice.path : choice.seed);
    const ConfLayout::Image image(conf.open(QIODevice::ReadOnly) ? conf.readAll() : QByteArray());
    TuneStore store;
    QString setAside;
    if (!store.open(QFileInfo(choice.path).absolutePath(), &setAside, &error))
        return failed(error);
    if (!store.putMeasurement(antenna - 1, *measurement))
        return failed(store.error());
    std::printf("%s\n", qPrintable(QCoreApplication::translate("AntennaCommands",
                                                               "Антенна %1: точек %2 из %3")
                                       .arg(antenna)
                                       .arg(measurement->points.size())
                                       .arg(measurement->file)));
    if (image.stepC() <= 0 || image.stepL() <= 0)
        return failed(QCoreApplication::translate(
            "AntennaCommands",
            "шаги реле в conf.cfg не заданы: измерение сохранено; импортируйте его снова, "
            "когда они будут заданы, и настройки будут рассчитаны"));
    BandPlan plan;
    plan.loadFrom(settings);
    const LNetwork::Parts parts = TunerParts::load(&settings, image.stepC(), image.stepL());
    const QList<ComputedTunes::Band> bands = ComputedTunes::compute(*measurement, plan, parts);
    if (!store.putComputed(antenna - 1, ComputedTunes::placed(bands, measurement->imported)))
        return failed(store.error());
    for (const ComputedTunes::Band &band : bands)
        std::printf("%s\n", qPrintable(ComputedTunes::summary(band)));
    return 0;
}
