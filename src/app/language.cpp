#include "app/language.h"

#include "platform/serveraddress.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

namespace language {
namespace {

struct Known {
    const char* code;
    const char* name;
};
// English first: the texts in the code are English.
const Known kKnown[] = {{"en", "English"}, {"de", "Deutsch"}};

QString g_current = QStringLiteral("en");
std::unique_ptr<QTranslator> g_program;
std::unique_ptr<QTranslator> g_qt;

// "de_DE.UTF-8", "de_DE@euro", "de" -> "de".
QString languageOf(const QString& locale)
{
    qsizetype end = 0;
    while (end < locale.size() && locale[end].isLetter())
        ++end;
    return locale.left(end).toLower();
}

bool isPlainC(const QString& locale)
{
    const QString base = locale.section(u'.', 0, 0);
    return base.isEmpty() || base == QLatin1String("C") || base == QLatin1String("POSIX");
}

void remove(std::unique_ptr<QTranslator>& translator)
{
    if (!translator)
        return;
    QCoreApplication::removeTranslator(translator.get());
    translator.reset();
}

std::unique_ptr<QTranslator> loaded(const QString& file, const QString& folder)
{
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(file, folder))
        return nullptr;
    QCoreApplication::installTranslator(translator.get());
    return translator;
}

}  // namespace

QStringList available()
{
    QStringList codes;
    for (const Known& k : kKnown)
        codes << QString::fromLatin1(k.code);
    return codes;
}

QString fromEnvironment(const QProcessEnvironment& environment)
{
    QString messages;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        messages = environment.value(QString::fromLatin1(name));
        if (!messages.isEmpty())
            break;
    }
    // The C locale speaks the program's own language, whatever LANGUAGE says.
    if (isPlainC(messages))
        return available().constFirst();
    QStringList wanted = environment.value(QStringLiteral("LANGUAGE")).split(u':', Qt::SkipEmptyParts);
    wanted << messages;
    const QStringList codes = available();
    for (const QString& w : wanted)
        if (const QString code = languageOf(w); codes.contains(code))
            return code;
    return codes.constFirst();
}

void use(const QString& code)
{
    program::keepLibpqMessagesEnglish();
    remove(g_program);
    remove(g_qt);
    const QString english = available().constFirst();
    g_current = available().contains(code) ? code : english;
    // English needs its file too: it holds the plural forms ("1 page", "3 pages"). A
    // language whose file is missing is not spoken: About then names English.
    g_program = loaded(QStringLiteral("calvora_%1").arg(g_current), QStringLiteral(":/i18n"));
    if (!g_program && g_current != english)
        return use(english);
    // Where the desktop has no Qt translations installed, Qt's own texts stay English.
    g_qt = loaded(QStringLiteral("qtbase_%1").arg(g_current), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

QString current()
{
    return g_current;
}

QString nativeName(const QString& code)
{
    for (const Known& k : kKnown)
        if (code == QLatin1String(k.code))
            return QString::fromUtf8(k.name);
    return code;
}

}  // namespace language
