#pragma once
// The language the program speaks: its own texts from translations/calvora_<code>.ts (built
// into the program), Qt's texts (standard buttons, the print and file dialogs) from Qt's own
// translations. The desktop's locale picks it; --lang overrides it for one run.
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace language {

// The languages the program speaks, by their codes; the first is the one its texts are
// written in.
QStringList available();

// The language the desktop asks for, as gettext reads it: the locale of messages (LC_ALL,
// then LC_MESSAGES, then LANG), unless LANGUAGE lists preferences and that locale is not
// C or POSIX. The first one the program speaks; English where it speaks none of them.
QString fromEnvironment(const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());

// Puts the program and Qt's dialogs into the language of `code` (one of available()),
// replacing the language used so far. Needs the application object.
void use(const QString& code);

// The code of the language in use ("en" before use() is called).
QString current();

// A language's name in that language ("English", "Deutsch"), as a list of languages shows it.
QString nativeName(const QString& code);

}  // namespace language
