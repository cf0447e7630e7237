#include "QtSettingsStore.h"

#include <QSettings>

namespace {

QString valuePath(const QString& section, const QString& key)
{
    return section + QLatin1Char('/') + key;
}

} // namespace

QString QtSettingsStore::getSetting(
    const QString& application, const QString& section, const QString& key, const QString& defaultValue) const
{
    const QSettings settings(QSettings::IniFormat, QSettings::UserScope, application, application);
    return settings.value(valuePath(section, key), defaultValue).toString();
}

bool QtSettingsStore::saveSetting(
    const QString& application, const QString& section, const QString& key, const QString& value)
{
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, application, application);
    const QString path = valuePath(section, key);
    // Every start stores "WebSet" again: a value already held is not worth a locked, synced rewrite.
    if (settings.contains(path) && settings.value(path).toString() == value) {
        return true;
    }
    settings.setValue(path, value);
    settings.sync();
    return settings.status() == QSettings::NoError;
}
