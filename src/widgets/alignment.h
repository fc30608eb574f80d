#pragma once

#include <QMargins>
#include <QRect>

class QWidget;

namespace quorvel {

// How a child control sits in its parent's client area, as the window layout gives it.
enum class Align { None, Top, Bottom, Left, Right, Client };

// Marks a child with its alignment; a control that is not aligned may instead be anchored to
// all four sides, keeping its distances to the client area's edges.
void SetAlign(QWidget* child, Align align);
Align AlignOf(const QWidget* child);
void AnchorAllSides(QWidget* child, const QMargins& distances);

// Places every visible aligned or anchored child of the parent within the client rectangle:
// top, bottom, left and right children in creation order, each taking its edge of what is
// left, then the client-aligned ones filling the rest.
void AlignChildren(QWidget* parent, const QRect& client);

} // namespace quorvel
