#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

class QLabel;

namespace tallybrook {

class SymbolTile;

/// A dashboard figure on a card: a 34 px tinted symbol tile, the title (caption, secondary),
/// the value in a large semibold face with digits of equal width, and an optional detail.
class ControlMetricTile : public QWidget {
    Q_OBJECT

public:
    ControlMetricTile(const QString& symbol, const QColor& tint, QWidget* parent = nullptr);

    void setTitle(const QString& title);
    void setValue(const QString& value);
    /// An empty detail hides the line.
    void setDetail(const QString& detail);

    QString title() const;
    QString value() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void updateAccessibleName();

    SymbolTile* tile_;
    QLabel* title_;
    QLabel* value_;
    QLabel* detail_;
};

} // namespace tallybrook
