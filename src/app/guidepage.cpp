#include "app/guidepage.h"

#include "app/channeltreeview.h"
#include "app/guidelist.h"
#include "app/guidemanager.h"
#include "app/playlistmanager.h"
#include "channelmodel/channelmodel.h"
#include "skin/controls/skinpagecontrol.h"
#include "skin/controls/skintabsheet.h"
#include "widgets/alignment.h"

#include <QListWidget>
#include <QShortcut>
#include <QTabBar>

namespace quorvel {

GuideList* InstallGuideList(SkinPageControl* pages, SkinTabSheet* treePage, SkinTabSheet* guidePage,
                            ChannelTreeView* tree, GuideManager* guide, PlaylistManager* playlists)
{
    pages->tabBar()->setTabVisible(pages->indexOf(guidePage), false);
    auto* list = new GuideList(guidePage, [guide](const QString& channel, std::int64_t from, std::int64_t to) {
        return guide->Between(channel, from, to);
    });
    // Placed and lettered as the tree on its own page.
    list->setFont(tree->font());
    list->setGeometry(tree->geometry());
    AnchorAllSides(list, QMargins(1, 1, 1, 1));
    QObject::connect(guide, &GuideManager::Changed, list, &GuideList::Reload);
    QObject::connect(tree, &ChannelTreeView::itemSelectionChanged, list, [tree, list] {
        const QModelIndex row = tree->Selected();
        if (ChannelModel::IsChannel(row))
            list->SetChannel(ChannelModel::NameOf(row));
    });

    const auto show = [pages, guidePage, list] {
        pages->SetActivePage(guidePage);
        list->List()->setFocus();
    };
    playlists->AddMenuEntry(QObject::tr("Programme guide"), show);
    auto* key =
        new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_G), pages->window(), nullptr, nullptr, Qt::WindowShortcut);
    QObject::connect(key, &QShortcut::activated, list, [pages, treePage, guidePage, tree, show] {
        if (pages->ActivePage() != guidePage) {
            show();
            return;
        }
        pages->SetActivePage(treePage);
        tree->setFocus();
    });
    return list;
}

} // namespace quorvel
