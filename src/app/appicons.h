#pragma once

#include <QIcon>
#include <QPixmap>

namespace quorvel {

// The application icon: a television set, drawn at every size a desktop asks for.
QIcon ApplicationIcon();
// The 16 x 16 picture every node of the channel tree shows.
QPixmap ChannelNodeImage();

} // namespace quorvel
