// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QWidget>

// The hidden holder of the chosen photo: it keeps the photo at its natural
// size, and sizes itself to it, so both pages draw the whole photo from here.
class PictureHolder : public QWidget {
    Q_OBJECT
public:
    explicit PictureHolder(QWidget* parent = nullptr);

    void setPicture(const QImage& picture);
    const QImage& picture() const { return m_picture; }

private:
    QImage m_picture;
};
