#pragma once

#include <QString>

// Per-user text values addressed by application, section and value name.
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;
    virtual QString getSetting(
        const QString& application, const QString& section, const QString& key, const QString& defaultValue) const = 0;
    // False when the value could not be stored.
    virtual bool saveSetting(
        const QString& application, const QString& section, const QString& key, const QString& value)
        = 0;
};
