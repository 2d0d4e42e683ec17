#pragma once

#include "ui/style/Palette.h"

#include <QColor>
#include <QString>
#include <QWidget>

class QLabel;

namespace tallybrook {

/// A symbol followed by a text: panel headings (headline), message lines (an error with the
/// red octagon, a warning with the triangle), field labels. The text wraps; its colour is the
/// primary text colour unless set.
class SymbolLabel : public QWidget {
    Q_OBJECT

public:
    SymbolLabel(const QString& symbol, const QColor& tint, Palette::TextStyle style = Palette::TextStyle::body,
                QWidget* parent = nullptr);

    void setText(const QString& text);
    QString text() const;
    void setSymbol(const QString& symbol, const QColor& tint);
    void setTextColor(const QColor& color);
    QLabel* label() const { return label_; }

private:
    void updateSymbol();

    QLabel* symbol_;
    QLabel* label_;
    QString symbolName_;
    QColor tint_;
    int symbolSize_;
};

} // namespace tallybrook
