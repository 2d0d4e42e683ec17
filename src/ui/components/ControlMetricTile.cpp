#include "ui/components/ControlMetricTile.h"

#include "localization/AppSettings.h"
#include "ui/components/ControlPanel.h"
#include "ui/components/SymbolTile.h"
#include "ui/style/Palette.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace tallybrook {

ControlMetricTile::ControlMetricTile(const QString& symbol, const QColor& tint, QWidget* parent)
    : QWidget(parent)
    , tile_(new SymbolTile(34, 17))
    , title_(new QLabel)
    , value_(new QLabel(QStringLiteral("0")))
    , detail_(new QLabel) {
    tile_->setSymbol(symbol);
    tile_->setTint(tint);
    title_->setFont(Palette::font(Palette::TextStyle::caption, font()));
    title_->setWordWrap(true);
    Palette::setTextColor(*title_, Palette::secondary());
    value_->setFont(Palette::font(Palette::TextStyle::metric, font()));
    detail_->setFont(Palette::font(Palette::TextStyle::caption, font()));
    Palette::setTextColor(*detail_, Palette::secondary());
    detail_->hide();

    auto* top = new QHBoxLayout;
    top->setSpacing(10);
    top->addWidget(tile_);
    top->addWidget(title_, 1);

    auto* column = new QVBoxLayout(this);
    const int margin = 14 + ControlPanel::shadowMargin;
    column->setContentsMargins(margin, margin, margin, margin);
    column->setSpacing(8);
    column->addLayout(top);
    column->addWidget(value_);
    column->addWidget(detail_);
    setMinimumWidth(170);
    setFocusPolicy(Qt::NoFocus);
}

QList<ControlMetricTile*> ControlMetricTile::make(const QList<MetricTileSpec>& specs) {
    QList<ControlMetricTile*> tiles;
    for (const MetricTileSpec& spec : specs) {
        auto* tile = new ControlMetricTile(QString::fromLatin1(spec.symbol), Palette::color(spec.tint));
        tile->setObjectName(QString::fromUtf16(spec.titleKey));
        tiles.append(tile);
    }
    return tiles;
}

void ControlMetricTile::retranslate(const QList<ControlMetricTile*>& tiles, const QList<MetricTileSpec>& specs,
                                    const AppSettings& settings) {
    for (qsizetype i = 0; i < tiles.size() && i < specs.size(); ++i) {
        tiles.at(i)->setTitle(settings.localized(specs.at(i).titleKey));
    }
}

void ControlMetricTile::setTitle(const QString& title) {
    title_->setText(title);
    updateAccessibleName();
}

void ControlMetricTile::setValue(const QString& value) {
    value_->setText(value);
    updateAccessibleName();
}

void ControlMetricTile::setDetail(const QString& detail) {
    detail_->setText(detail);
    detail_->setVisible(!detail.isEmpty());
}

QString ControlMetricTile::title() const {
    return title_->text();
}

QString ControlMetricTile::value() const {
    return value_->text();
}

void ControlMetricTile::updateAccessibleName() {
    // Read as one piece by a screen reader: "Counted items: 42".
    setAccessibleName(title_->text() + QStringLiteral(": ") + value_->text());
}

void ControlMetricTile::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int m = ControlPanel::shadowMargin;
    ControlPanel::paintCard(painter, QRectF(rect()).adjusted(m, m - 1, -m, -m - 1));
}

} // namespace tallybrook
