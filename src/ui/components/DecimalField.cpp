#include "ui/components/DecimalField.h"

#include "ui/style/Palette.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace tallybrook {

DecimalField::DecimalField(const QString& suffix, const QLocale& numberLocale, QWidget* parent)
    : QWidget(parent)
    , locale_(numberLocale)
    , edit_(new QLineEdit)
    , suffix_(new QLabel(suffix)) {
    locale_.setNumberOptions(QLocale::OmitGroupSeparator);
    edit_->setFixedWidth(92);
    Palette::setTextColor(*suffix_, Palette::secondary());
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);
    row->addWidget(edit_);
    row->addWidget(suffix_);
    row->addStretch(1);
    setFocusProxy(edit_);
    connect(edit_, &QLineEdit::textEdited, this, [this](const QString& typed) {
        bool ok = false;
        const double parsed = locale_.toDouble(typed.trimmed(), &ok);
        if (ok) {
            value_ = parsed;
            emit valueEdited(parsed);
        }
    });
    // Leaving the field shows the value it holds, in the field's format.
    connect(edit_, &QLineEdit::editingFinished, this, [this] { edit_->setText(text(value_, locale_)); });
}

void DecimalField::setValue(double value) {
    value_ = value;
    edit_->setText(text(value, locale_));
}

QString DecimalField::text(double value, const QLocale& locale) {
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    QString shown = plain.toString(value, 'f', 2);
    const QString decimalPoint = plain.decimalPoint();
    if (shown.contains(decimalPoint)) {
        while (shown.endsWith(u'0')) {
            shown.chop(1);
        }
        if (shown.endsWith(decimalPoint)) {
            shown.chop(decimalPoint.size());
        }
    }
    return shown;
}

} // namespace tallybrook
