#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QStringList>
#include <QStringView>

namespace tallybrook {

/// The pictograms of the window. Pages name a symbol ("checkmark.circle.fill"); this maps it to
/// freedesktop icon names found in the desktop's icon theme, with Breeze as the fallback theme
/// so that every symbol shows on a bare machine. Symbols are drawn as single-colour shapes in
/// the tint asked for. Main thread (QIcon).
namespace Symbols {

/// Makes Breeze the fallback theme (and the theme itself when the desktop names none).
void installIconTheme();

/// Every symbol name the window uses.
QStringList allSymbolNames();
/// The freedesktop icon names tried for `symbol`, best first; empty for an unknown symbol.
QStringList iconNames(QStringView symbol);

/// The theme icon of `symbol` (null icon when none of its names is found).
QIcon themeIcon(QStringView symbol);
/// `symbol` drawn in `tint` at `size` device-independent pixels for a screen of `devicePixelRatio`.
QPixmap pixmap(QStringView symbol, int size, const QColor& tint, qreal devicePixelRatio = 1.0);
/// An icon of `symbol` in `tint`, for buttons and menus (normal and disabled look).
QIcon icon(QStringView symbol, const QColor& tint);

} // namespace Symbols

} // namespace tallybrook
