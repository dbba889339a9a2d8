// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "drawing/PhotoPlacement.h"
#include "widgets/ImageButton.h"

#include <QImage>
#include <QPointF>

// The photo area of the miniature page: it shows the photo as the page will
// (the part, the place), and a click on it is a click. When the photo is
// cropped into its frame the person chooses the part: drag the photo to move
// it, turn the wheel (or zoomIn(), zoomOut()) to enlarge it from filling the
// frame up to four times.
class PhotoArea : public ImageButton {
    Q_OBJECT
public:
    static constexpr double mostZoom = 4;

    PhotoArea(const QString& accessibleName, QWidget* parent);

    // A new photo starts whole, its middle in the frame.
    void setPhoto(const QImage& photo);
    const QImage& photo() const { return m_photo; }
    void setFit(PhotoFit fit);
    PhotoFit fit() const { return m_fit; }
    // The part of the photo that fills the frame when cropping, in fractions
    // of its width and height, as the page takes it.
    QRectF crop() const;
    // While a photo is being read: a quiet "Foto laden..." over the area.
    void setLoading(bool loading);
    bool loading() const { return m_loading; }

public Q_SLOTS:
    void zoomIn();
    void zoomOut();
    // Moves the part by fractions of its own size, within the photo.
    void moveBy(double across, double down);

Q_SIGNALS:
    void cropChanged();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool cropping() const { return m_fit == PhotoFit::Crop && !m_photo.isNull(); }
    // The part at the current zoom and middle, in the photo's pixels.
    QRectF part() const;
    void zoomBy(double factor);
    void setMiddle(QPointF middle);
    void showPhoto();

    QImage m_photo;
    PhotoFit m_fit = PhotoFit::Stretch;
    double m_zoom = 1;
    QPointF m_middle;      // of the part, in the photo's pixels
    bool m_chosen = false; // the person moved or enlarged it
    QPointF m_dragFrom;
    bool m_dragging = false;
    bool m_loading = false;
};
