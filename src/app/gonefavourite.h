#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace quorvel {

// A favourite whose channel no playlist lists now was chosen: says so, and offers to remove it
// from the favourites (remove runs when the viewer agrees). The box does not hold the window.
void OfferToRemoveGoneFavourite(QWidget* parent, const QString& channel, std::function<void()> remove);

} // namespace quorvel
