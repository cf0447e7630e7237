#pragma once

#include "SettingsStore.h"

#include <QMap>

// Values keyed "application/section/key".
class FakeSettingsStore : public SettingsStore
{
public:
    QString getSetting(const QString& application, const QString& section, const QString& key,
        const QString& defaultValue) const override
    {
        return values.value(path(application, section, key), defaultValue);
    }
    bool saveSetting(
        const QString& application, const QString& section, const QString& key, const QString& value) override
    {
        if (!writable) {
            return false;
        }
        values.insert(path(application, section, key), value);
        return true;
    }

    static QString path(const QString& application, const QString& section, const QString& key)
    {
        return application + QLatin1Char('/') + section + QLatin1Char('/') + key;
    }

    QMap<QString, QString> values;
    bool writable = true;
};
