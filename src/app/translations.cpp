#include "app/translations.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

namespace quorvel {

QTranslator* InstallTranslations(const QLocale& locale)
{
    // The C and POSIX locales (LANG=C.UTF-8 in containers and minimal systems) are the
    // system's untranslated default, whose messages are English.
    if (locale.language() != QLocale::English && locale.language() != QLocale::C)
        return nullptr;
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral(":/translations/quorvel_en.qm"))) {
        delete translator;
        return nullptr;
    }
    QCoreApplication::installTranslator(translator);
    return translator;
}

} // namespace quorvel
