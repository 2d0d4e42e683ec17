#include "ui/components/SymbolTile.h"

#include "ui/style/Symbols.h"

#include <QPainter>

namespace tallybrook {

SymbolTile::SymbolTile(int tileSize, int symbolSize, QWidget* parent)
    : QWidget(parent)
    , tileSize_(tileSize)
    , symbolSize_(symbolSize) {
    setFixedSize(tileSize, tileSize);
}

void SymbolTile::setSymbol(const QString& symbol) {
    symbol_ = symbol;
    update();
}

void SymbolTile::setTint(const QColor& tint) {
    tint_ = tint;
    update();
}

QSize SymbolTile::sizeHint() const {
    return {tileSize_, tileSize_};
}

void SymbolTile::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Palette::withOpacity(tint_, 0.14));
    const qreal radius = tileSize_ * 0.26;
    painter.drawRoundedRect(QRectF(rect()), radius, radius);
    if (!symbol_.isEmpty()) {
        const QPixmap symbol = Symbols::pixmap(symbol_, symbolSize_, tint_, devicePixelRatioF());
        const int offset = (tileSize_ - symbolSize_) / 2;
        painter.drawPixmap(offset, offset, symbol);
    }
}

} // namespace tallybrook
