#include "skin/form/skinmenuitem.h"

#include <QAction>
#include <QMenu>

namespace quorvel {

SkinMenuItem::SkinMenuItem(QAction* action) : Action(action) { }

bool SkinMenuItem::IsSeparator() const { return Action->isSeparator() || Action->text() == QLatin1String("-"); }

bool SkinMenuItem::IsEnabled() const { return Action->isEnabled(); }

bool SkinMenuItem::HasChildren() const { return Action->menu() && !Action->menu()->actions().isEmpty(); }

QString SkinMenuItem::Caption() const { return Action->text(); }

QString SkinMenuItem::ShortcutText() const { return Action->shortcut().toString(QKeySequence::NativeText); }

std::string SkinMenuItem::Name() const { return Action->objectName().toStdString(); }

QChar SkinMenuItem::Accelerator() const
{
    const QString text = Caption();
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&'))
            continue;
        if (text[i + 1] == QLatin1Char('&')) {
            ++i; // "&&" is a plain "&"
            continue;
        }
        return text[i + 1].toUpper();
    }
    return QChar();
}

bool SkinMenuItem::MorphPending() const { return (Hot || Open) ? MorphAmount != 1 : MorphAmount != 0; }

} // namespace quorvel
