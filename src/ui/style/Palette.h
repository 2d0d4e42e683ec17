#pragma once

#include <QColor>
#include <QFont>

class QApplication;
class QWidget;

namespace tallybrook {

/// The tints the pages colour symbols, badges and tiles with.
enum class Tint { green, blue, orange, red, purple, secondary };

/// The window's one palette and type scale. Every component takes its colours and fonts here,
/// so the window looks the same on every platform and desktop theme.
namespace Palette {

/// The five opaque sRGB tints and the secondary colour.
QColor color(Tint tint);
inline QColor green() { return color(Tint::green); }
inline QColor blue() { return color(Tint::blue); }
inline QColor orange() { return color(Tint::orange); }
inline QColor red() { return color(Tint::red); }
inline QColor purple() { return color(Tint::purple); }
inline QColor secondary() { return color(Tint::secondary); }

/// `color` with its alpha set to `opacity` (0-1).
QColor withOpacity(const QColor& color, qreal opacity);

QColor primaryText();
QColor windowBackground();
/// Cards and panels: near-white, slightly translucent over the window.
QColor cardBackground();
/// Toolbars: a shade darker than the window.
QColor barBackground();
QColor outline();

/// The type scale, relative to the application font.
enum class TextStyle { largeTitle, title, headline, body, callout, caption, metric };
QFont font(TextStyle style, const QFont& base = QFont());

/// Sets the colour of a label's (or any widget's) text.
void setTextColor(QWidget& widget, const QColor& color);

/// The page's main action: a button in blue with white text.
void setProminent(QWidget& button);

/// Fusion style, the light palette above and the window font: one look everywhere.
void applyTo(QApplication& application);

} // namespace Palette

} // namespace tallybrook
