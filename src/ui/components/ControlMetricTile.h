#pragma once

#include "ui/style/Palette.h"

#include <QColor>
#include <QList>
#include <QString>
#include <QWidget>

class QLabel;

namespace tallybrook {

class AppSettings;
class SymbolTile;

/// What a page's tile shows besides its value: the text key of its title, its symbol, its tint.
struct MetricTileSpec {
    const char16_t* titleKey;
    const char* symbol;
    Tint tint;
};

/// A dashboard figure on a card: a 34 px tinted symbol tile, the title (caption, secondary),
/// the value in a large semibold face with digits of equal width, and an optional detail.
class ControlMetricTile : public QWidget {
    Q_OBJECT

public:
    ControlMetricTile(const QString& symbol, const QColor& tint, QWidget* parent = nullptr);

    /// One tile per spec, in order, each named after its title key.
    static QList<ControlMetricTile*> make(const QList<MetricTileSpec>& specs);
    /// Titles `tiles` (made from `specs`) in the settings' language.
    static void retranslate(const QList<ControlMetricTile*>& tiles, const QList<MetricTileSpec>& specs,
                            const AppSettings& settings);

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
