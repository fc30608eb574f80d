#include "webhost/pagecomposition.h"

#include <QByteArray>
#include <QtGlobal>

namespace quorvel {

void ComposePagesWithWidgets()
{
    if (!qEnvironmentVariableIsSet("QT_QUICK_BACKEND") && !qEnvironmentVariableIsSet("QT_WIDGETS_RHI"))
        qputenv("QT_QUICK_BACKEND", QByteArrayLiteral("software"));
}

} // namespace quorvel
