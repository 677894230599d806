#pragma once
// The window's pictures, drawn rather than shipped: the two connection discs and the
// application icon.

#include <QColor>
#include <QIcon>
#include <QPixmap>

namespace quorlin {

constexpr int kDiscSize = 25;
inline const QColor kDisconnectedGrey{127, 127, 127};
inline const QColor kConnectedGreen{0, 128, 0};

// A filled disc with a small highlight at its upper left, on transparency.
QPixmap discPixmap(const QColor& color);
QIcon applicationIcon();

}  // namespace quorlin
