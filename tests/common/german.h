#pragma once
// The German runs and cases need the system's de_DE.UTF-8 locale (the suite makes it where it
// can, see language/germanlocale.sh).
#include <QString>

// Empty where the system has de_DE.UTF-8; else why a German case skips.
QString germanLocaleMissing();

// In a test function or initTestCase: skips when the run asks for German (LC_ALL) and the
// system lacks the locale.
#define SKIP_IF_GERMAN_LOCALE_MISSING()                                                         \
    do {                                                                                        \
        if (qEnvironmentVariable("LC_ALL").startsWith(QLatin1String("de")))                    \
            if (const QString why = germanLocaleMissing(); !why.isEmpty())                      \
                QSKIP(qPrintable(why));                                                         \
    } while (false)
