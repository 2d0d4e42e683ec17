#include "ui/components/SymbolLabel.h"

#include "ui/style/Symbols.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>

namespace tallybrook {

SymbolLabel::SymbolLabel(const QString& symbol, const QColor& tint, Palette::TextStyle style, QWidget* parent)
    : QWidget(parent)
    , symbol_(new QLabel)
    , label_(new QLabel)
    , symbolName_(symbol)
    , tint_(tint) {
    label_->setFont(Palette::font(style, font()));
    label_->setWordWrap(true);
    // The symbol stands beside the first line, however many lines the text takes.
    label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    symbolSize_ = QFontMetrics(label_->font()).height();
    symbol_->setFixedSize(symbolSize_, symbolSize_);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    row->addWidget(symbol_, 0, Qt::AlignTop);
    row->addWidget(label_, 1);
    updateSymbol();
}

void SymbolLabel::setText(const QString& text) {
    label_->setText(text);
    setAccessibleName(text);
}

QString SymbolLabel::text() const {
    return label_->text();
}

void SymbolLabel::setSymbol(const QString& symbol, const QColor& tint) {
    symbolName_ = symbol;
    tint_ = tint;
    updateSymbol();
}

void SymbolLabel::setTextColor(const QColor& color) {
    Palette::setTextColor(*label_, color);
}

void SymbolLabel::updateSymbol() {
    symbol_->setPixmap(Symbols::pixmap(symbolName_, symbolSize_, tint_, devicePixelRatioF()));
}

} // namespace tallybrook
