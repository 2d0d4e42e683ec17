#pragma once

#include <Qt>

namespace tallybrook {

/// Item data roles the window's table models fill and ControlTable draws.
namespace TableRole {
enum : int {
    /// A caption line under the main text (variant name under an item name).
    secondaryText = Qt::UserRole + 100,
    /// The cell is a status badge of this colour (QColor), titled by the display text.
    badgeTint,
    /// The symbol drawn before the text or in the badge (QString symbol name).
    symbol,
    /// Semibold text (bool).
    semibold,
    /// The cell is a menu: its display text is drawn as a pop-up button (bool).
    menu,
    /// The choices of a menu cell (QStringList); the first one stands for "none".
    choices,
    /// The cell is an editable field: drawn framed, like a text field (bool).
    editableField,
};
} // namespace TableRole

} // namespace tallybrook
