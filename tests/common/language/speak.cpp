// Every test program speaks the language its environment asks for, as the program does at
// its start: the suite's usual runs are English (LC_ALL=C.UTF-8), the German runs set
// de_DE.UTF-8. Linked into each test program whole, so its start-up function is kept.
#include "app/language.h"

#include <QCoreApplication>

namespace {

void speakTheEnvironmentsLanguage()
{
    language::use(language::fromEnvironment());
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(speakTheEnvironmentsLanguage)
