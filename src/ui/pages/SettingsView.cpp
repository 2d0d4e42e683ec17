#include "ui/pages/SettingsView.h"

#include "localization/AppSettings.h"
#include "localization/PlatformText.h"
#include "ui/components/ControlPage.h"
#include "ui/components/ControlPageHeader.h"
#include "ui/components/ControlPanel.h"
#include "ui/components/SegmentedPicker.h"
#include "ui/components/SymbolLabel.h"

#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace tallybrook {

SettingsView::SettingsView(AppContext& context, QWidget* parent)
    : PageView(context, parent)
    , header_(new ControlPageHeader(QStringLiteral("gearshape"), Palette::secondary()))
    , languageHeading_(new SymbolLabel(QStringLiteral("globe"), Palette::blue(), Palette::TextStyle::headline))
    , languagePicker_(new SegmentedPicker(int(allAppLanguagePreferences.size())))
    , languageDescription_(new QLabel)
    , storeHeading_(new SymbolLabel(QStringLiteral("storefront"), Palette::blue(), Palette::TextStyle::headline))
    , requestModePicker_(new SegmentedPicker(2))
    , requestModeDescription_(new QLabel)
    , securityHeading_(new SymbolLabel(QStringLiteral("lock.shield"), Palette::green(), Palette::TextStyle::headline))
    , secretsLabel_(new QLabel)
    , secretsValue_(new QLabel)
    , exportsLabel_(new QLabel)
    , exportsValue_(new QLabel) {
    setObjectName(QStringLiteral("page.settings"));
    languagePicker_->setObjectName(QStringLiteral("settings.language"));
    languagePicker_->setMaximumWidth(360);
    languageDescription_->setObjectName(QStringLiteral("settings.languageDescription"));
    requestModePicker_->setObjectName(QStringLiteral("settings.requestMode"));
    requestModePicker_->setMaximumWidth(520);
    requestModeDescription_->setObjectName(QStringLiteral("settings.requestModeDescription"));
    for (QLabel* description : {languageDescription_, requestModeDescription_}) {
        description->setWordWrap(true);
        description->setFont(Palette::font(Palette::TextStyle::caption, font()));
        Palette::setTextColor(*description, Palette::secondary());
    }
    secretsValue_->setObjectName(QStringLiteral("settings.secretsValue"));
    for (QLabel* value : {secretsValue_, exportsValue_}) {
        Palette::setTextColor(*value, Palette::secondary());
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }

    auto* page = new ControlPage(16);
    page->addWidget(header_);

    auto* language = new ControlPanel;
    language->addWidget(languageHeading_);
    language->addWidget(languagePicker_);
    language->addWidget(languageDescription_);
    page->addWidget(language);

    auto* store = new ControlPanel;
    store->addWidget(storeHeading_);
    store->addWidget(requestModePicker_);
    store->addWidget(requestModeDescription_);
    page->addWidget(store);

    auto* security = new ControlPanel;
    security->addWidget(securityHeading_);
    auto* lines = new QGridLayout;
    lines->setHorizontalSpacing(24);
    lines->setVerticalSpacing(8);
    lines->addWidget(secretsLabel_, 0, 0);
    lines->addWidget(secretsValue_, 0, 1);
    lines->addWidget(exportsLabel_, 1, 0);
    lines->addWidget(exportsValue_, 1, 1);
    lines->setColumnStretch(1, 1);
    security->contentLayout()->addLayout(lines);
    page->addWidget(security);
    page->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(page);

    connect(languagePicker_, &SegmentedPicker::activated, this, [this](int index) {
        context_.settings.setLanguagePreference(allAppLanguagePreferences.at(size_t(index)));
    });
    connect(requestModePicker_, &SegmentedPicker::activated, this, [this](int index) {
        context_.settings.setRequestMode(index == 1 ? WooRequestMode::batch : WooRequestMode::oneByOne);
    });
    retranslate();
}

void SettingsView::retranslate() {
    const AppSettings& settings = context_.settings;
    const AppLanguage language = settings.resolvedLanguage();
    header_->setTitle(settings.localized(u"settings.title"));
    header_->setSubtitle(settings.localized(u"settings.subtitle"));
    languageHeading_->setText(settings.localized(u"settings.language"));
    languagePicker_->setAccessibleName(languageHeading_->text());
    for (size_t i = 0; i < allAppLanguagePreferences.size(); ++i) {
        languagePicker_->setSegment(int(i), platformDisplayName(allAppLanguagePreferences.at(i), language));
    }
    languagePicker_->setCurrentIndex(int(settings.languagePreference()));
    languageDescription_->setText(settings.localized(platformTextKey(u"settings.languageDescription")));
    storeHeading_->setText(settings.localized(u"settings.onlineStore"));
    requestModePicker_->setAccessibleName(storeHeading_->text());
    requestModePicker_->setSegment(0, settings.localized(u"settings.requestMode.oneByOne"));
    requestModePicker_->setSegment(1, settings.localized(u"settings.requestMode.batch"));
    requestModePicker_->setCurrentIndex(settings.requestMode() == WooRequestMode::batch ? 1 : 0);
    requestModeDescription_->setText(settings.localized(u"settings.requestModeDescription"));
    securityHeading_->setText(settings.localized(u"settings.security"));
    secretsLabel_->setText(settings.localized(u"settings.wooSecrets"));
    secretsValue_->setText(settings.localized(platformTextKey(u"settings.keychain")));
    exportsLabel_->setText(settings.localized(u"settings.exports"));
    exportsValue_->setText(settings.localized(u"settings.noCredential"));
}

void SettingsView::refresh() {}

} // namespace tallybrook
