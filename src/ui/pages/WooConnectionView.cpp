#include "ui/pages/WooConnectionView.h"

#include "localization/AppSettings.h"
#include "localization/PlatformText.h"
#include "ui/components/ControlPage.h"
#include "ui/components/ControlPageHeader.h"
#include "ui/components/ControlPanel.h"
#include "ui/components/ControlStatusBadge.h"
#include "ui/components/SymbolLabel.h"
#include "ui/style/Symbols.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tallybrook {

namespace {

/// A panel: its heading, then each field beside its label (secondary colour, lined up with the
/// labels of the other panel).
ControlPanel* fieldPanel(SymbolLabel* heading, std::initializer_list<std::pair<QLabel*, QLineEdit*>> fields) {
    auto* panel = new ControlPanel;
    panel->addWidget(heading);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(10);
    int row = 0;
    for (const auto& [label, field] : fields) {
        Palette::setTextColor(*label, Palette::secondary());
        label->setBuddy(field);
        label->setMinimumWidth(150);
        field->setMinimumWidth(360);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
        ++row;
    }
    grid->setColumnStretch(1, 1);
    panel->contentLayout()->addLayout(grid);
    return panel;
}

/// Keeps a field showing the view model's value without disturbing the user's cursor.
void showText(QLineEdit* field, const QString& text) {
    if (field->text() != text) {
        field->setText(text);
    }
}

} // namespace

WooConnectionView::WooConnectionView(AppContext& context, QWidget* parent)
    : PageView(context, parent)
    , viewModel_(context.credentialStore(), context.profile.connectorFactory)
    , header_(new ControlPageHeader(QStringLiteral("network"), Palette::blue()))
    , badge_(new ControlStatusBadge)
    , storeHeading_(new SymbolLabel(QStringLiteral("storefront"), Palette::blue(), Palette::TextStyle::headline))
    , urlLabel_(new QLabel)
    , url_(new QLineEdit)
    , nameLabel_(new QLabel)
    , name_(new QLineEdit)
    , apiHeading_(new SymbolLabel(QStringLiteral("key.fill"), Palette::orange(), Palette::TextStyle::headline))
    , keyLabel_(new QLabel)
    , key_(new QLineEdit)
    , secretLabel_(new QLabel)
    , secret_(new QLineEdit)
    , save_(new QPushButton)
    , test_(new QPushButton)
    , status_(new SymbolLabel(QStringLiteral("circle"), Palette::secondary()))
    , error_(new SymbolLabel(QStringLiteral("xmark.octagon.fill"), Palette::red())) {
    setObjectName(QStringLiteral("page.wooConnection"));
    badge_->setObjectName(QStringLiteral("woo.statusBadge"));
    // A refused connection's message can be long: the line below the buttons shows all of it.
    badge_->setMaximumTitleWidth(300);
    header_->addTrailing(badge_);
    url_->setObjectName(QStringLiteral("woo.url"));
    url_->setPlaceholderText(QStringLiteral("https://boutique.example"));
    name_->setObjectName(QStringLiteral("woo.displayName"));
    key_->setObjectName(QStringLiteral("woo.consumerKey"));
    key_->setPlaceholderText(QStringLiteral("ck_..."));
    secret_->setObjectName(QStringLiteral("woo.consumerSecret"));
    secret_->setPlaceholderText(QStringLiteral("cs_..."));
    secret_->setEchoMode(QLineEdit::Password);
    save_->setObjectName(QStringLiteral("woo.save"));
    save_->setIcon(Symbols::icon(u"key", Palette::primaryText()));
    test_->setObjectName(QStringLiteral("woo.testConnection"));
    test_->setIcon(Symbols::icon(u"network", Palette::primaryText()));
    status_->setObjectName(QStringLiteral("woo.status"));
    error_->setObjectName(QStringLiteral("woo.error"));
    error_->setTextColor(Palette::red());
    error_->hide();

    ControlPanel* store = fieldPanel(storeHeading_, {{urlLabel_, url_}, {nameLabel_, name_}});
    ControlPanel* api = fieldPanel(apiHeading_, {{keyLabel_, key_}, {secretLabel_, secret_}});

    auto* actions = new QHBoxLayout;
    actions->setSpacing(12);
    actions->addWidget(save_);
    actions->addWidget(test_);
    actions->addWidget(status_, 1);

    auto* page = new ControlPage(18);
    page->addWidget(header_);
    page->addWidget(store);
    page->addWidget(api);
    page->contentLayout()->addLayout(actions);
    page->addWidget(error_);
    page->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(page);

    connect(url_, &QLineEdit::textEdited, &viewModel_, &WooConnectionViewModel::setStoreURLString);
    connect(name_, &QLineEdit::textEdited, &viewModel_, &WooConnectionViewModel::setDisplayName);
    connect(key_, &QLineEdit::textEdited, &viewModel_, &WooConnectionViewModel::setConsumerKey);
    connect(secret_, &QLineEdit::textEdited, &viewModel_, &WooConnectionViewModel::setConsumerSecret);
    for (auto signal : {&WooConnectionViewModel::storeURLStringChanged, &WooConnectionViewModel::displayNameChanged,
                        &WooConnectionViewModel::consumerKeyChanged, &WooConnectionViewModel::consumerSecretChanged}) {
        connect(&viewModel_, signal, this, &WooConnectionView::showFields);
    }
    connect(&viewModel_, &WooConnectionViewModel::validationStateChanged, this,
            &WooConnectionView::showValidationState);
    connect(&viewModel_, &WooConnectionViewModel::errorMessageChanged, this, [this] {
        const std::optional<QString>& message = viewModel_.errorMessage();
        error_->setText(message.value_or(QString()));
        error_->setVisible(message.has_value());
    });
    connect(save_, &QPushButton::clicked, &viewModel_, &WooConnectionViewModel::save);
    connect(test_, &QPushButton::clicked, &viewModel_, &WooConnectionViewModel::testConnection);
    retranslate();
}

void WooConnectionView::retranslate() {
    const AppSettings& settings = context_.settings;
    header_->setTitle(settings.localized(u"woo.connectionTitle"));
    header_->setSubtitle(settings.localized(platformTextKey(u"woo.connectionSubtitle")));
    storeHeading_->setText(settings.localized(u"woo.store"));
    urlLabel_->setText(settings.localized(u"woo.url"));
    nameLabel_->setText(settings.localized(u"woo.displayName"));
    name_->setPlaceholderText(settings.localized(u"woo.displayNamePlaceholder"));
    apiHeading_->setText(settings.localized(u"woo.apiAccess"));
    keyLabel_->setText(settings.localized(u"woo.consumerKey"));
    secretLabel_->setText(settings.localized(u"woo.consumerSecret"));
    for (QLabel* label : {urlLabel_, nameLabel_, keyLabel_, secretLabel_}) {
        label->buddy()->setAccessibleName(label->text());
    }
    save_->setText(settings.localized(u"woo.save"));
    test_->setText(settings.localized(u"woo.testConnection"));
    showValidationState();
}

void WooConnectionView::showEvent(QShowEvent* event) {
    // The saved connection, each time the page comes on screen.
    viewModel_.load();
    PageView::showEvent(event);
}

void WooConnectionView::refresh() {
    showFields();
}

void WooConnectionView::showFields() {
    showText(url_, viewModel_.storeURLString());
    showText(name_, viewModel_.displayName());
    showText(key_, viewModel_.consumerKey());
    showText(secret_, viewModel_.consumerSecret());
}

void WooConnectionView::showValidationState() {
    const AppSettings& settings = context_.settings;
    const WooConnectionViewModel::ValidationState& state = viewModel_.validationState();
    QString text;
    QColor tint = Palette::secondary();
    QString symbol;
    switch (state.kind) {
    case WooConnectionViewModel::ValidationState::Kind::idle:
        text = settings.localized(u"woo.notTested");
        symbol = QStringLiteral("circle");
        break;
    case WooConnectionViewModel::ValidationState::Kind::testing:
        text = settings.localized(u"woo.testing");
        symbol = QStringLiteral("hourglass");
        break;
    case WooConnectionViewModel::ValidationState::Kind::valid:
        text = state.message;
        tint = Palette::green();
        symbol = QStringLiteral("checkmark.circle.fill");
        break;
    case WooConnectionViewModel::ValidationState::Kind::invalid:
        text = state.message;
        tint = Palette::red();
        symbol = QStringLiteral("xmark.circle.fill");
        break;
    }
    badge_->setContent(text, tint, symbol);
    status_->setSymbol(symbol, tint);
    status_->setText(text);
    status_->setTextColor(tint);
}

QString WooConnectionView::navigationTitle() const {
    return context_.settings.localized(u"woo.connectionTitle");
}

} // namespace tallybrook
