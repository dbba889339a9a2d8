// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/PictureHolder.h"

PictureHolder::PictureHolder(QWidget* parent)
    : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
}

void PictureHolder::setPicture(const QImage& picture) {
    m_picture = picture;
    resize(picture.size());
}
