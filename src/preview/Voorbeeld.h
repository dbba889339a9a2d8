// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "drawing/PageContent.h"
#include "widgets/PressFeedback.h"

#include <QDialog>

class CommonDialog;
struct FileError;
class ImageButton;
class PictureHolder;
class QLabel;
class QScreen;

// The preview: renders the page once when it opens, shows it reduced, and
// saves the full page as a BMP file on request.
class Voorbeeld : public QDialog {
    Q_OBJECT
public:
    Voorbeeld(const PageContent& content, int sizeFactor, CommonDialog& dialog,
              QWidget* parent = nullptr);

    static QString sizeText(int sizeFactor);
    // The rendered page at full size, as it is saved.
    const QImage& page() const;

    // Client size chosen for the 6600 x 9900 twip outer window (see .cpp).
    static constexpr int clientWidthTwips = 6540;
    static constexpr int clientHeightTwips = 9555;

public Q_SLOTS:
    void OkKnop_Click();
    void ExitKnop_Click();

private:
    void createControls();
    void load(const PageContent& content);
    void fitTo(const QScreen* screen);
    // As the name's extension, or else the chosen type, says.
    bool save(const QString& path, FileError* error) const;

    PictureHolder* Pic = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Voettekstrechts = nullptr;
    QLabel* Koptekstrechts = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Label2 = nullptr;
    ImageButton* OkKnop = nullptr;
    ImageButton* ExitKnop = nullptr;
    QLabel* Label1 = nullptr;

    CommonDialog& m_dialog;
    // What the page is made of, for the PDF, which is drawn afresh.
    PageContent m_content;
    int m_sizeFactor;
    bool m_saving = false;
    // Where the buttons rest: their layout places, or higher up when the
    // window had to fit a low screen.
    ButtonRest m_okRest = ButtonRests::previewOk;
    ButtonRest m_exitRest = ButtonRests::previewExit;
};
