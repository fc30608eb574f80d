#include "widgets/alignment.h"

#include <QVariant>
#include <QWidget>

namespace quorvel {
namespace {

constexpr const char* kAlign = "quorvelAlign";
constexpr const char* kAnchors = "quorvelAnchors";

} // namespace

void SetAlign(QWidget* child, Align align) { child->setProperty(kAlign, static_cast<int>(align)); }

Align AlignOf(const QWidget* child)
{
    const QVariant a = child->property(kAlign);
    return a.isValid() ? static_cast<Align>(a.toInt()) : Align::None;
}

void AnchorAllSides(QWidget* child, const QMargins& distances)
{
    child->setProperty(
        kAnchors, QVariant::fromValue(QRect(distances.left(), distances.top(), distances.right(), distances.bottom())));
}

void AlignChildren(QWidget* parent, const QRect& client)
{
    QRect rest = client;
    QList<QWidget*> fill;
    for (QObject* o : parent->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || w->isWindow())
            continue;
        const QVariant a = w->property(kAlign);
        // A hidden child takes no room, but a filling one is kept in place so that it
        // appears where it belongs when it is shown.
        if (w->isHidden() && !(a.isValid() && static_cast<Align>(a.toInt()) == Align::Client))
            continue;
        if (a.isValid()) {
            switch (static_cast<Align>(a.toInt())) {
            case Align::Top:
                w->setGeometry(rest.left(), rest.top(), rest.width(), w->height());
                rest.setTop(rest.top() + w->height());
                break;
            case Align::Bottom:
                w->setGeometry(rest.left(), rest.bottom() + 1 - w->height(), rest.width(), w->height());
                rest.setBottom(rest.bottom() - w->height());
                break;
            case Align::Left:
                w->setGeometry(rest.left(), rest.top(), w->width(), rest.height());
                rest.setLeft(rest.left() + w->width());
                break;
            case Align::Right:
                w->setGeometry(rest.right() + 1 - w->width(), rest.top(), w->width(), rest.height());
                rest.setRight(rest.right() - w->width());
                break;
            case Align::Client:
                fill.append(w);
                break;
            case Align::None:
                break;
            }
            continue;
        }
        const QVariant anchors = w->property(kAnchors);
        if (anchors.isValid()) {
            const QRect m = anchors.toRect(); // left, top, right, bottom distances
            w->setGeometry(QRect(QPoint(client.left() + m.x(), client.top() + m.y()),
                                 QPoint(client.right() - m.width(), client.bottom() - m.height())));
        }
    }
    for (QWidget* w : fill)
        w->setGeometry(rest.width() > 0 && rest.height() > 0 ? rest : QRect(rest.topLeft(), QSize(0, 0)));
}

} // namespace quorvel
