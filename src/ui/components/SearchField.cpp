#include "ui/components/SearchField.h"

#include "ui/style/Palette.h"
#include "ui/style/Symbols.h"

#include <QAction>
#include <QKeyEvent>
#include <QPainter>

namespace tallybrook {

namespace {

constexpr int glassSize = 16;
constexpr int glassInset = 7;

} // namespace

SearchField::SearchField(QWidget* parent)
    : QLineEdit(parent) {
    setFixedWidth(280);
    setClearButtonEnabled(true);
    setTextMargins(glassSize + glassInset, 0, 0, 0);
}

void SearchField::setPromptText(const QString& prompt, const QString& clearText) {
    setPlaceholderText(prompt);
    setAccessibleName(prompt);
    if (QAction* clear = clearAction()) {
        clear->setText(clearText);
        clear->setToolTip(clearText);
    }
}

QAction* SearchField::clearAction() const {
    // Qt names the action of the clear button it adds.
    return findChild<QAction*>(QStringLiteral("_q_qlineeditclearaction"));
}

void SearchField::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    const qreal ratio = devicePixelRatioF();
    painter.drawPixmap(
        glassInset, (height() - glassSize) / 2,
        Symbols::pixmap(QStringLiteral("magnifyingglass"), glassSize, Palette::secondary(), ratio));
}

void SearchField::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && !text().isEmpty()) {
        clear();
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // The search already follows every keystroke; Enter must not leave the field or
        // trigger a default button.
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

} // namespace tallybrook
