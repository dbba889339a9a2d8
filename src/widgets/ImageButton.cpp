// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/ImageButton.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace {

bool activates(const QKeyEvent* key) {
    return key->modifiers() == Qt::NoModifier &&
           (key->key() == Qt::Key_Space || key->key() == Qt::Key_Return ||
            key->key() == Qt::Key_Enter);
}

// A screen reader meets a button that can be pressed, not a picture.
class AccessibleImageButton : public QAccessibleWidget {
public:
    explicit AccessibleImageButton(QWidget* button)
        : QAccessibleWidget(button, QAccessible::Button) {}
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override {
        if (action == pressAction())
            Q_EMIT static_cast<ImageButton*>(widget())->clicked();
    }
};

QAccessibleInterface* accessibleImageButton(const QString& className, QObject* object) {
    return className == QLatin1String("ImageButton") && object->isWidgetType()
               ? new AccessibleImageButton(static_cast<QWidget*>(object))
               : nullptr;
}

} // namespace

ImageButton::ImageButton(const QString& accessibleName, QWidget* parent)
    : QLabel(parent) {
    static const bool known = (QAccessible::installFactory(accessibleImageButton), true);
    Q_UNUSED(known);
    setFocusPolicy(Qt::NoFocus);
    setAccessibleName(accessibleName);
    setCursor(Qt::ArrowCursor);
}

// The focused button answers its keys itself, before the window's own
// shortcut for Return (OK) can.
bool ImageButton::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && activates(static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QLabel::event(event);
}

void ImageButton::keyPressEvent(QKeyEvent* event) {
    if (activates(event) && !event->isAutoRepeat()) {
        event->accept();
        Q_EMIT clicked();
        return;
    }
    QLabel::keyPressEvent(event);
}

void ImageButton::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void ImageButton::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click) {
        Q_EMIT clicked();
    }
}

void ImageButton::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    QStylePainter painter(this);
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = rect().adjusted(1, 1, -1, -1);
    focus.backgroundColor = palette().color(QPalette::Window);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
}
