#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

class QLabel;

namespace tallybrook {

class SymbolTile;

/// A compact capsule: a 26 px symbol tile, the title (caption, secondary) and an integer value
/// (headline, semibold, digits of equal width).
class ControlSummaryPill : public QWidget {
    Q_OBJECT

public:
    ControlSummaryPill(const QString& symbol, const QColor& tint, QWidget* parent = nullptr);

    void setTitle(const QString& title);
    void setValue(qint64 value);
    QString title() const;
    QString valueText() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    SymbolTile* tile_;
    QLabel* title_;
    QLabel* value_;
};

} // namespace tallybrook
