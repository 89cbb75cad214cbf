#include "model/infra/eiconfig.h"

#include <QSettings>

const QString configGroupAlgorithm = QStringLiteral("ALGORITHM");
const QString configKeyCheckCorner = QStringLiteral("is_check_corner");

EIConfig config;

namespace {

QString keyText(const QString& group, const QString& key)
{
    return QStringLiteral("%1/%2").arg(group, key);
}

} // namespace

EIConfig::EIConfig() : QObject(nullptr) {}

EIConfig::~EIConfig()
{
    // The store writes what is still pending when it is destroyed.
    delete settings;
}

void EIConfig::init(const QString& path)
{
    delete settings;
    settings = new QSettings(path, QSettings::IniFormat, this);
}

QVariant EIConfig::value(const QString& group, const QString& key) const
{
    if (!settings)
        return QVariant(QString());
    return settings->value(keyText(group, key), QVariant(QString()));
}

void EIConfig::setValue(const QString& group, const QString& key, const QVariant& value)
{
    if (!settings)
        return;
    // Written at once: a preference the operator set survives a crash, and
    // nothing is left to write when the program ends.
    settings->setValue(keyText(group, key), value);
    settings->sync();
}
