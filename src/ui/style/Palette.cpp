#include "ui/style/Palette.h"

#include <QApplication>
#include <QPalette>
#include <QStyleFactory>
#include <QWidget>

namespace tallybrook::Palette {

QColor color(Tint tint) {
    switch (tint) {
    case Tint::green:
        return QColor::fromRgbF(0.12f, 0.55f, 0.32f);
    case Tint::blue:
        return QColor::fromRgbF(0.18f, 0.43f, 0.82f);
    case Tint::orange:
        return QColor::fromRgbF(0.86f, 0.52f, 0.12f);
    case Tint::red:
        return QColor::fromRgbF(0.78f, 0.20f, 0.20f);
    case Tint::purple:
        return QColor::fromRgbF(0.45f, 0.33f, 0.72f);
    case Tint::secondary:
        break;
    }
    return QColor(0x6e, 0x6e, 0x73);
}

QColor withOpacity(const QColor& color, qreal opacity) {
    QColor result = color;
    result.setAlphaF(float(opacity));
    return result;
}

QColor primaryText() {
    return QColor(0x1d, 0x1d, 0x1f);
}

QColor windowBackground() {
    return QColor(0xf3, 0xf4, 0xf6);
}

QColor cardBackground() {
    return QColor(255, 255, 255, 236);
}

QColor barBackground() {
    return QColor(0xe9, 0xeb, 0xee);
}

QColor outline() {
    return withOpacity(primaryText(), 0.09);
}

QFont font(TextStyle style, const QFont& base) {
    QFont font = base;
    const qreal size = base.pointSizeF() > 0 ? base.pointSizeF() : 10.0;
    switch (style) {
    case TextStyle::largeTitle:
        font.setPointSizeF(size * 1.9);
        font.setWeight(QFont::DemiBold);
        break;
    case TextStyle::title:
        font.setPointSizeF(size * 1.55);
        font.setWeight(QFont::DemiBold);
        break;
    case TextStyle::headline:
        font.setPointSizeF(size * 1.1);
        font.setWeight(QFont::DemiBold);
        break;
    case TextStyle::body:
        break;
    case TextStyle::callout:
        font.setPointSizeF(size * 0.95);
        break;
    case TextStyle::caption:
        font.setPointSizeF(size * 0.85);
        break;
    case TextStyle::metric:
        font.setPointSizeF(size * 2.0);
        font.setWeight(QFont::DemiBold);
        break;
    }
    return font;
}

void setTextColor(QWidget& widget, const QColor& color) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    widget.setPalette(palette);
}

void setProminent(QWidget& button) {
    QPalette prominent = button.palette();
    prominent.setColor(QPalette::Button, blue());
    prominent.setColor(QPalette::ButtonText, Qt::white);
    button.setPalette(prominent);
}

void applyTo(QApplication& application) {
    application.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QPalette palette;
    palette.setColor(QPalette::Window, windowBackground());
    palette.setColor(QPalette::WindowText, primaryText());
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::AlternateBase, QColor(0xf7, 0xf8, 0xfa));
    palette.setColor(QPalette::Text, primaryText());
    palette.setColor(QPalette::Button, QColor(0xfb, 0xfb, 0xfc));
    palette.setColor(QPalette::ButtonText, primaryText());
    palette.setColor(QPalette::Highlight, blue());
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::ToolTipBase, QColor(0xff, 0xff, 0xf4));
    palette.setColor(QPalette::ToolTipText, primaryText());
    palette.setColor(QPalette::PlaceholderText, secondary());
    palette.setColor(QPalette::Link, blue());
    palette.setColor(QPalette::Mid, QColor(0xc8, 0xcb, 0xd0));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0xa0, 0xa3, 0xa8));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0xa0, 0xa3, 0xa8));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0xa0, 0xa3, 0xa8));
    application.setPalette(palette);
}

} // namespace tallybrook::Palette
