#pragma once

#include <QLocale>

class QCoreApplication;

// Qt's own texts (the boxes' buttons, the text boxes' menu) in the user's language, from the
// translations installed with Qt.
class QtTranslations
{
public:
    // False when Qt has no translation for the locale: its texts stay English.
    static bool install(QCoreApplication& app, const QLocale& locale = QLocale());
};
