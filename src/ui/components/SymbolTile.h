#pragma once

#include "ui/style/Palette.h"

#include <QString>
#include <QWidget>

namespace tallybrook {

/// A rounded square tinted with a colour at low opacity holding a symbol in that colour: the
/// leading pictogram of headers, tiles, pills, the empty state and the processing overlay.
class SymbolTile : public QWidget {
    Q_OBJECT

public:
    /// `tileSize` and `symbolSize` in device-independent pixels.
    SymbolTile(int tileSize, int symbolSize, QWidget* parent = nullptr);

    void setSymbol(const QString& symbol);
    void setTint(const QColor& tint);
    const QString& symbol() const { return symbol_; }
    const QColor& tint() const { return tint_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int tileSize_;
    int symbolSize_;
    QString symbol_;
    QColor tint_ = Palette::blue();
};

} // namespace tallybrook
