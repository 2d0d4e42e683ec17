#include "ui/components/ControlSummaryPill.h"

#include "ui/components/SymbolTile.h"
#include "ui/style/Palette.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace tallybrook {

ControlSummaryPill::ControlSummaryPill(const QString& symbol, const QColor& tint, QWidget* parent)
    : QWidget(parent)
    , tile_(new SymbolTile(26, 14))
    , title_(new QLabel)
    , value_(new QLabel(QStringLiteral("0"))) {
    tile_->setSymbol(symbol);
    tile_->setTint(tint);
    title_->setFont(Palette::font(Palette::TextStyle::caption, font()));
    Palette::setTextColor(*title_, Palette::secondary());
    value_->setFont(Palette::font(Palette::TextStyle::headline, font()));

    auto* texts = new QVBoxLayout;
    texts->setSpacing(0);
    texts->addWidget(title_);
    texts->addWidget(value_);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(6, 5, 16, 5);
    row->setSpacing(8);
    row->addWidget(tile_);
    row->addLayout(texts);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void ControlSummaryPill::setTitle(const QString& title) {
    title_->setText(title);
    setAccessibleName(title + QStringLiteral(": ") + value_->text());
    // A fixed-size widget: its parent must take the new size.
    updateGeometry();
}

void ControlSummaryPill::setValue(qint64 value) {
    // A plain integer, no grouping: the pill reads like the tiles.
    value_->setText(QString::number(value));
    setAccessibleName(title_->text() + QStringLiteral(": ") + value_->text());
    updateGeometry();
}

QString ControlSummaryPill::title() const {
    return title_->text();
}

QString ControlSummaryPill::valueText() const {
    return value_->text();
}

void ControlSummaryPill::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF capsule = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setBrush(Palette::cardBackground());
    painter.setPen(QPen(Palette::outline(), 1));
    painter.drawRoundedRect(capsule, capsule.height() / 2, capsule.height() / 2);
}

} // namespace tallybrook
