#include "ui/components/ControlPageHeader.h"

#include "ui/components/SymbolTile.h"
#include "ui/style/Palette.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace tallybrook {

ControlPageHeader::ControlPageHeader(const QString& symbol, const QColor& tint, QWidget* parent)
    : QWidget(parent)
    , tile_(new SymbolTile(42, 21))
    , title_(new QLabel)
    , subtitle_(new QLabel)
    , trailing_(new QHBoxLayout) {
    tile_->setSymbol(symbol);
    tile_->setTint(tint);
    title_->setFont(Palette::font(Palette::TextStyle::title, font()));
    title_->setObjectName(QStringLiteral("header.title"));
    title_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    subtitle_->setFont(Palette::font(Palette::TextStyle::callout, font()));
    subtitle_->setObjectName(QStringLiteral("header.subtitle"));
    subtitle_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Palette::setTextColor(*subtitle_, Palette::secondary());
    subtitle_->hide();

    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    texts->addWidget(title_);
    texts->addWidget(subtitle_);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(14);
    row->addWidget(tile_, 0, Qt::AlignVCenter);
    row->addLayout(texts, 1);
    trailing_->setSpacing(10);
    row->addLayout(trailing_);
}

void ControlPageHeader::setTitle(const QString& title) {
    title_->setText(title);
    setAccessibleName(title);
}

void ControlPageHeader::setSubtitle(const QString& subtitle) {
    subtitle_->setText(subtitle);
    subtitle_->setVisible(!subtitle.isEmpty());
}

void ControlPageHeader::setSymbol(const QString& symbol, const QColor& tint) {
    tile_->setSymbol(symbol);
    tile_->setTint(tint);
}

void ControlPageHeader::addTrailing(QWidget* widget) {
    trailing_->addWidget(widget, 0, Qt::AlignVCenter);
}

QString ControlPageHeader::title() const {
    return title_->text();
}

QString ControlPageHeader::subtitle() const {
    return subtitle_->isVisible() || !subtitle_->text().isEmpty() ? subtitle_->text() : QString();
}

} // namespace tallybrook
