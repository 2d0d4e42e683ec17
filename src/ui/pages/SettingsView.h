#pragma once

#include "ui/pages/PageView.h"

class QLabel;

namespace tallybrook {

class ControlPageHeader;
class SegmentedPicker;
class SymbolLabel;

/// The settings page: the language choice (automatic, French, English), which takes effect at
/// once in the whole window and is stored; how the online store is talked to (one request per
/// item or in batches), stored and used from the next reload or send; and where secrets and
/// exports are kept.
class SettingsView : public PageView {
    Q_OBJECT

public:
    explicit SettingsView(AppContext& context, QWidget* parent = nullptr);

    void retranslate() override;
    SegmentedPicker* languagePicker() const { return languagePicker_; }
    SegmentedPicker* requestModePicker() const { return requestModePicker_; }

protected:
    void refresh() override;

private:
    ControlPageHeader* header_;
    SymbolLabel* languageHeading_;
    SegmentedPicker* languagePicker_;
    QLabel* languageDescription_;
    SymbolLabel* storeHeading_;
    SegmentedPicker* requestModePicker_;
    QLabel* requestModeDescription_;
    SymbolLabel* securityHeading_;
    QLabel* secretsLabel_;
    QLabel* secretsValue_;
    QLabel* exportsLabel_;
    QLabel* exportsValue_;
};

} // namespace tallybrook
