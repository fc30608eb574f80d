#include "app/translations.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

namespace quorvel {

QTranslator* InstallTranslations(const QLocale& locale)
{
    if (locale.language() != QLocale::English)
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
