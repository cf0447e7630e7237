#pragma once

#include <QString>

// One site's login as the user types it and sees it: its description, user ID, password and address.
struct SiteEntry
{
    // A field by its role, as a refusal names the one at fault.
    enum class Field {
        None,
        Description,
        UserId,
        Password,
        Url,
    };

    QString description;
    QString userId;
    QString password;
    QString url;
};
