// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/Controls.h"

#include "widgets/ImageButton.h"

#include <QLabel>
#include <QMessageBox>
#include <QPainter>

void Controls::setColor(QWidget& widget, QPalette::ColorRole role, const QColor& color) {
    QPalette palette = widget.palette();
    palette.setColor(role, color);
    widget.setPalette(palette);
}

void Controls::setCaptionColor(QWidget& widget) {
    setColor(widget, QPalette::WindowText, QColor(64, 64, 64));
}

QLabel* Controls::caption(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    setCaptionColor(*label);
    label->adjustSize();
    return label;
}

ImageButton* Controls::imageButton(QWidget* parent, const char* name, const QString& accessibleName,
                                   const QString& description, const QString& picture) {
    auto* button = new ImageButton(accessibleName, parent);
    button->setObjectName(QLatin1String(name));
    button->setAccessibleDescription(description);
    button->setFocusPolicy(Qt::TabFocus);
    button->setPixmap(sharpPicture(picture, parent->devicePixelRatioF()));
    return button;
}

QPixmap Controls::sharpPicture(const QString& path, qreal devicePixelRatio) {
    if (devicePixelRatio <= 1)
        return QPixmap::fromImage(QImage(path));
    QImage image(path.left(path.lastIndexOf(u'.')) + QStringLiteral("@2x.png"));
    image.setDevicePixelRatio(2);
    if (devicePixelRatio > 2) {
        // Smoothly, to the screen's own pixels, so that nothing scales it again
        // on its way there: a thin line softens a little, nothing turns blocky.
        image = image.scaled(image.deviceIndependentSize().toSize() * devicePixelRatio,
                             Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        image.setDevicePixelRatio(devicePixelRatio);
    }
    return QPixmap::fromImage(image);
}

QPixmap Controls::reduced(const QImage& picture, const QSize& size, qreal devicePixelRatio) {
    QImage image =
        picture.scaled(size * devicePixelRatio, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    image.setDevicePixelRatio(devicePixelRatio);
    return QPixmap::fromImage(image);
}

void Controls::measured(QLabel& label, const QString& text) {
    label.setText(text);
    label.adjustSize();
}

QPixmap Controls::placed(const QImage& photo, const QSize& size, PhotoFit fit, const QRectF& crop,
                         qreal devicePixelRatio) {
    QImage area(size * devicePixelRatio, QImage::Format_RGB32);
    area.fill(Qt::white);
    const PhotoPlacement place = PhotoPlacement::of(photo.size(), fit, crop, QRectF(area.rect()));
    const QRect target = place.target.toRect();
    QPainter(&area).drawImage(target.topLeft(), place.picture(photo, fit)
                                                    .scaled(target.size(), Qt::IgnoreAspectRatio,
                                                            Qt::SmoothTransformation));
    area.setDevicePixelRatio(devicePixelRatio);
    return QPixmap::fromImage(area);
}

QLabel* Controls::measuringLabel(QWidget* parent, const char* name, const QString& text,
                                 const QFont& font) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText); // a typed "<b>" is text, not markup
    label->setFont(font);
    label->adjustSize();
    label->hide();
    return label;
}

void Controls::warn(QWidget* parent, const QString& message) {
    QMessageBox::warning(parent, QStringLiteral("Ostrabel"), message);
}
