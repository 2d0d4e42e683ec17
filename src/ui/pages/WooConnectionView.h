#pragma once

#include "app/WooConnectionViewModel.h"
#include "ui/pages/PageView.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace tallybrook {

class ControlPageHeader;
class ControlStatusBadge;
class SymbolLabel;

/// The WooCommerce connection page: the store's address and name, the API key and secret
/// (the secret masked), Save and Test connection with the test's outcome, and the last save
/// error. Shows the saved connection each time it comes on screen; edits stay on the page
/// until saved.
class WooConnectionView : public PageView {
    Q_OBJECT

public:
    explicit WooConnectionView(AppContext& context, QWidget* parent = nullptr);

    void retranslate() override;
    QString navigationTitle() const override;
    WooConnectionViewModel& viewModel() { return viewModel_; }
    ControlStatusBadge* statusBadge() const { return badge_; }
    SymbolLabel* statusText() const { return status_; }
    SymbolLabel* errorLine() const { return error_; }

protected:
    void refresh() override;
    void showEvent(QShowEvent* event) override;

private:
    void showFields();
    void showValidationState();

    WooConnectionViewModel viewModel_;
    ControlPageHeader* header_;
    ControlStatusBadge* badge_;
    SymbolLabel* storeHeading_;
    QLabel* urlLabel_;
    QLineEdit* url_;
    QLabel* nameLabel_;
    QLineEdit* name_;
    SymbolLabel* apiHeading_;
    QLabel* keyLabel_;
    QLineEdit* key_;
    QLabel* secretLabel_;
    QLineEdit* secret_;
    QPushButton* save_;
    QPushButton* test_;
    SymbolLabel* status_;
    SymbolLabel* error_;
};

} // namespace tallybrook
