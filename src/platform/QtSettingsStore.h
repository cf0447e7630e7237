#pragma once

#include "SettingsStore.h"

// One INI file per application in the user's configuration folder: Application/Application.ini.
class QtSettingsStore : public SettingsStore
{
public:
    QString getSetting(const QString& application, const QString& section, const QString& key,
        const QString& defaultValue) const override;
    bool saveSetting(
        const QString& application, const QString& section, const QString& key, const QString& value) override;
};
