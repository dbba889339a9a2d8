// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/PhotoArea.h"

#include "drawing/PageGeometry.h"
#include "widgets/Controls.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

// One notch of the wheel, or one press of + or -.
constexpr double zoomStep = 1.25;

// The largest part of a photo with the frame's shape.
QSizeF framed(const QSize& photo) {
    const QRectF frame(PageGeometry::photoArea);
    const double shape = frame.width() / frame.height();
    return double(photo.width()) / photo.height() > shape
               ? QSizeF(photo.height() * shape, photo.height())
               : QSizeF(photo.width(), photo.width() / shape);
}

} // namespace

PhotoArea::PhotoArea(const QString& accessibleName, QWidget* parent)
    : ImageButton(accessibleName, parent) {
    setScaledContents(true);
}

void PhotoArea::setPhoto(const QImage& photo) {
    m_photo = photo;
    m_zoom = 1;
    m_middle = QRectF(photo.rect()).center();
    m_chosen = false;
    showPhoto();
}

void PhotoArea::setFit(PhotoFit fit) {
    m_fit = fit;
    showPhoto();
}

QRectF PhotoArea::part() const {
    QRectF part(QPointF(), framed(m_photo.size()) / m_zoom);
    part.moveCenter(m_middle);
    return part;
}

QRectF PhotoArea::crop() const {
    if (!m_chosen || m_photo.isNull())
        return PhotoPlacement::wholePhoto;
    const QRectF p = part();
    const double width = m_photo.width(), height = m_photo.height();
    return QRectF(p.left() / width, p.top() / height, p.width() / width, p.height() / height);
}

void PhotoArea::zoomIn() {
    zoomBy(zoomStep);
}

void PhotoArea::zoomOut() {
    zoomBy(1 / zoomStep);
}

void PhotoArea::zoomBy(double factor) {
    if (!cropping())
        return;
    m_zoom = std::clamp(m_zoom * factor, 1.0, mostZoom);
    setMiddle(m_middle);
}

void PhotoArea::moveBy(double across, double down) {
    if (!cropping())
        return;
    const QSizeF size = part().size();
    setMiddle(m_middle + QPointF(across * size.width(), down * size.height()));
}

// Kept where the whole part stays on the photo.
void PhotoArea::setMiddle(QPointF middle) {
    const QSizeF half = part().size() / 2;
    m_middle = QPointF(std::clamp(middle.x(), half.width(), m_photo.width() - half.width()),
                       std::clamp(middle.y(), half.height(), m_photo.height() - half.height()));
    m_chosen = true;
    showPhoto();
    Q_EMIT cropChanged();
}

void PhotoArea::mousePressEvent(QMouseEvent* event) {
    m_dragFrom = event->position();
    m_dragging = false;
    ImageButton::mousePressEvent(event);
}

// A press that moves further than a click would is a drag: the photo follows
// the pointer, and the press is no click.
void PhotoArea::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton) || !cropping())
        return;
    const QPointF moved = event->position() - m_dragFrom;
    if (!m_dragging && moved.manhattanLength() < QApplication::startDragDistance())
        return;
    m_dragging = true;
    cancelClick();
    m_dragFrom = event->position();
    moveBy(-moved.x() / width(), -moved.y() / height());
}

void PhotoArea::wheelEvent(QWheelEvent* event) {
    if (!cropping()) {
        event->ignore();
        return;
    }
    zoomBy(std::pow(zoomStep, event->angleDelta().y() / 120.0));
    event->accept();
}

void PhotoArea::resizeEvent(QResizeEvent* event) {
    ImageButton::resizeEvent(event);
    showPhoto();
}

void PhotoArea::setLoading(bool loading) {
    m_loading = loading;
    update();
}

void PhotoArea::paintEvent(QPaintEvent* event) {
    ImageButton::paintEvent(event);
    if (!m_loading)
        return;
    QPainter painter(this);
    painter.fillRect(rect(), QColor(255, 255, 255, 200));
    painter.setPen(QColor(64, 64, 64));
    painter.drawText(rect(), Qt::AlignCenter, tr("Foto laden…"));
}

void PhotoArea::showPhoto() {
    if (m_photo.isNull() || size().isEmpty())
        return;
    setPixmap(Controls::placed(m_photo, size(), m_fit, crop(), devicePixelRatioF()));
}
