#include "skin/form/systemmenu.h"

#include "skin/data/resourcestrdata.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeySequence>
#include <QMenu>

namespace quorvel {
namespace {

QString Caption(const ResourceStrData* strings, const char* name, const char* builtIn)
{
    if (strings) {
        const std::string text = strings->GetResStr(name);
        if (!text.empty())
            return QString::fromStdString(text);
    }
    // The built-in captions are the source texts of the program's translations.
    return QCoreApplication::translate("SystemMenu", builtIn);
}

const char* const kStandardNames[] = {"SF_MINITEM",   "SF_MAXITEM", "SF_CLOSE",
                                      "SF_MINTOTRAY", "SF_ROLLUP",  "SF_RESTORE"};

} // namespace

bool SystemMenu::IsStandardName(const std::string& name)
{
    for (const char* n : kStandardNames)
        if (name == n)
            return true;
    return false;
}

std::vector<SystemMenu::Item> SystemMenu::Items(const State& s, const ResourceStrData* strings)
{
    std::vector<Item> items;
    const bool minimized = s.frameState == FrameState::Minimized;
    const bool maximized = s.frameState == FrameState::Maximized;
    if (!minimized && s.borderIcons.Has(BorderIcon::Minimize))
        items.push_back({"SF_MINITEM", Caption(strings, "MI_MINCAPTION", "最小化(&N)"), {}});
    if (!maximized && s.borderIcons.Has(BorderIcon::Maximize))
        items.push_back({"SF_MAXITEM", Caption(strings, "MI_MAXCAPTION", "最大化(&X)"), {}});
    if (s.frameState != FrameState::Normal || s.rolledUp)
        items.push_back({"SF_RESTORE", Caption(strings, "MI_RESTORECAPTION", "恢复(&R)"), {}});
    if (!s.maximizedMdiChild && !s.rolledUp && !minimized && s.borderIcons.Has(BorderIcon::RollUp))
        items.push_back({"SF_ROLLUP", Caption(strings, "MI_ROLLUPCAPTION", "卷起(&L)"), {}});
    if (s.borderIcons.Has(BorderIcon::MinimizeToTray))
        items.push_back({"SF_MINTOTRAY", Caption(strings, "MI_MINTOTRAYCAPTION", "最小化到系统托盘区(&T)"), {}});
    if (!items.empty())
        items.push_back({"-", QStringLiteral("-"), {}});
    items.push_back({"SF_CLOSE", Caption(strings, "MI_CLOSECAPTION", "关闭(&C)"),
                     s.mdiChild ? QStringLiteral("Ctrl+F4") : QStringLiteral("Alt+F4")});
    return items;
}

void SystemMenu::Fill(QMenu& menu, const std::vector<Item>& items, bool applicationMenu)
{
    auto make = [&menu](const Item& item) {
        auto* action = new QAction(item.caption, &menu);
        action->setObjectName(QString::fromStdString(item.name));
        if (item.name == "-")
            action->setSeparator(true);
        if (!item.shortcut.isEmpty())
            action->setShortcut(QKeySequence(item.shortcut));
        return action;
    };
    if (!applicationMenu) {
        for (QAction* a : menu.actions())
            delete a;
        for (const Item& item : items)
            menu.addAction(make(item));
        return;
    }
    // The application's own menu: its standard items make way for the frame's, which read from
    // the top minimize, restore, maximize, roll up, to tray; close goes last; no separator.
    for (QAction* a : menu.actions())
        if (IsStandardName(a->objectName().toStdString()))
            delete a;
    QAction* before = menu.actions().isEmpty() ? nullptr : menu.actions().first();
    for (const char* name : {"SF_MINITEM", "SF_RESTORE", "SF_MAXITEM", "SF_ROLLUP", "SF_MINTOTRAY"})
        for (const Item& item : items)
            if (item.name == name)
                menu.insertAction(before, make(item));
    for (const Item& item : items)
        if (item.name == "SF_CLOSE")
            menu.addAction(make(item));
}

} // namespace quorvel
