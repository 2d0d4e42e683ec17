#include "ui/components/EmptyInventoryView.h"

#include "localization/AppSettings.h"
#include "ui/components/ControlPanel.h"
#include "ui/components/SymbolTile.h"
#include "ui/style/Palette.h"

#include <QLabel>
#include <QVBoxLayout>

namespace tallybrook {

EmptyInventoryView::EmptyInventoryView(QWidget* parent)
    : QWidget(parent)
    , title_(new QLabel)
    , message_(new QLabel) {
    setObjectName(QStringLiteral("emptyInventory"));
    auto* card = new ControlPanel(28);
    card->setMaximumWidth(420);
    auto* tile = new SymbolTile(64, 32);
    tile->setSymbol(QStringLiteral("doc.badge.plus"));
    tile->setTint(Palette::blue());
    title_->setFont(Palette::font(Palette::TextStyle::headline, font()));
    title_->setAlignment(Qt::AlignCenter);
    title_->setWordWrap(true);
    message_->setAlignment(Qt::AlignCenter);
    message_->setWordWrap(true);
    Palette::setTextColor(*message_, Palette::secondary());
    card->contentLayout()->addWidget(tile, 0, Qt::AlignHCenter);
    card->addWidget(title_);
    card->addWidget(message_);

    auto* layout = new QVBoxLayout(this);
    layout->addStretch(1);
    layout->addWidget(card, 0, Qt::AlignHCenter);
    layout->addStretch(2);
}

void EmptyInventoryView::retranslate(const AppSettings& settings) {
    title_->setText(settings.localized(u"empty.title"));
    message_->setText(settings.localized(u"empty.message"));
    setAccessibleName(title_->text());
    setAccessibleDescription(message_->text());
}

QString EmptyInventoryView::title() const {
    return title_->text();
}

} // namespace tallybrook
