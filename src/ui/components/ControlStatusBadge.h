#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QWidget>

class QPainter;

namespace tallybrook {

/// A small capsule: an optional symbol and a title in caption semibold, in the tint, on the tint
/// at 11 % opacity. Tables draw the same capsule in their cells through `paint`.
class ControlStatusBadge : public QWidget {
    Q_OBJECT

public:
    explicit ControlStatusBadge(QWidget* parent = nullptr);

    void setContent(const QString& title, const QColor& tint, const QString& symbol = {});
    const QString& title() const { return title_; }
    const QColor& tint() const { return tint_; }
    const QString& symbol() const { return symbol_; }

    /// Longer titles are shortened with "…" (the tooltip holds the whole title); 0: no limit.
    void setMaximumTitleWidth(int width);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    /// The badge's font for a widget or cell whose font is `base`.
    static QFont badgeFont(const QFont& base);
    /// The size of a badge with this title and symbol (title shortened to `maximumTitleWidth`).
    static QSize badgeSize(const QString& title, bool hasSymbol, const QFont& base, int maximumTitleWidth = 0);
    /// Draws a badge with its top-left corner at `origin`.
    static void paint(QPainter& painter, const QPoint& origin, const QString& title, const QColor& tint,
                      const QString& symbol, const QFont& base, qreal devicePixelRatio, int maximumTitleWidth = 0);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString title_;
    QColor tint_;
    QString symbol_;
    int maximumTitleWidth_ = 0;
};

} // namespace tallybrook
