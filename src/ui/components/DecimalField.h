#pragma once

#include <QLocale>
#include <QWidget>

class QLabel;
class QLineEdit;

namespace tallybrook {

/// A number typed in the system's number format (not the application language: a French
/// system shows and takes "2,5", an English one "2.5"), shown with 0 to 2 decimals, followed by
/// a suffix such as "mm". The value changes when the text parses as a number; there is no range
/// check (whoever uses the value judges it).
class DecimalField : public QWidget {
    Q_OBJECT

public:
    explicit DecimalField(const QString& suffix, const QLocale& numberLocale = QLocale::system(),
                          QWidget* parent = nullptr);

    double value() const { return value_; }
    /// Shows `value`; emits nothing.
    void setValue(double value);
    QLineEdit* lineEdit() const { return edit_; }

    /// `value` as the field shows it in `locale`: up to 2 decimals, no trailing zeros, no grouping.
    static QString text(double value, const QLocale& locale);

signals:
    void valueEdited(double value);

private:
    QLocale locale_;
    QLineEdit* edit_;
    QLabel* suffix_;
    double value_ = 0;
};

} // namespace tallybrook
