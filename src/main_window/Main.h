// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "drawing/PageContent.h"
#include "main_window/RememberedChoices.h"
#include "photo/PhotoLoader.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class CommonDialog;
class ImageButton;
class PhotoArea;
class LineControl;
class PictureHolder;
class PrintJob;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QKeySequence;
class QMenu;
class QRadioButton;
class QThread;
class QUrl;

// The main window: every choice the user makes, plus the hidden helpers the
// pages use (photo holder, measuring labels, the shared file dialog).
class Main : public QWidget {
    Q_OBJECT
public:
    // Where printing goes: a job on the default printer, or null when there
    // is none.
    using PrintJobs = std::function<std::unique_ptr<PrintJob>()>;

    // Tests hand in their own dialog and printer; by default the real ones.
    explicit Main(CommonDialog* dialog = nullptr, PrintJobs printJobs = {},
                  QWidget* parent = nullptr);
    ~Main() override;

    static const QString instructionText;

    // Client size chosen for the 6300 x 4215 twip outer window (see .cpp).
    static constexpr int clientWidthTwips = 6240;
    static constexpr int clientHeightTwips = 3870;

public Q_SLOTS:
    void Image1_Click();
    void Check1_Click();
    void OkKnop_Click();
    void ExitKnop_Click();

    // How the photo goes into its frame, chosen from the page picture's menu.
    PhotoFit photoFit() const { return m_choices.fit; }
    void setPhotoFit(PhotoFit fit);
    // Photos named on the command line, opened as the photo dialog opens
    // one ("Open with"); more than one is told.
    void openPhotos(const QStringList& paths);

Q_SIGNALS:
    // A photo was read into the window, or refused and said why.
    void photoLoadFinished();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // A picture file dropped from a file manager loads as the photo.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createControls();
    void createInputs();
    void nameInputs();
    void createWindowKeys();
    void showPageFocus(bool focused);
    void createPage();
    void createCaptions();
    static QString photoFilter();
    void createPageMenu();
    void createPageKeys();
    void shortcut(const QKeySequence& keys, const std::function<void()>& action);
    void showPageMenu(const QPoint& globalPosition);
    void showPageMenuFromKeyboard();
    // Through the one loader, with its reasons; the previous photo stays
    // when it fails.
    void loadPhoto(const QString& path);
    void photoLoaded(const QString& path);
    static QByteArray localFile(const QUrl& url);
    void showPhoto();
    void complain(const QString& message);
    void load();
    void placeControls();
    void fillLists();
    void setTabOrder();
    // The user's choices for one page, read from the controls now.
    PageContent pageContent(qint32 year) const;
    std::optional<qint32> yearOrComplain();
    void endProgram();

    QGroupBox* Frame1 = nullptr;
    QLabel* A4back = nullptr;
    QLabel* A4 = nullptr;
    LineControl* Bar = nullptr;
    PhotoArea* Image1 = nullptr;
    ImageButton* m_softPhoto = nullptr;
    QComboBox* JaarCombo = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* KopTekstLinks = nullptr;
    QLineEdit* VoetTekstLinks = nullptr;
    QLabel* Label2 = nullptr;
    QRadioButton* Option1[2] = {nullptr, nullptr};
    QLabel* Label3 = nullptr;
    PictureHolder* Picture1 = nullptr;
    QLineEdit* KopTekstRechts = nullptr;
    QLineEdit* VoettekstRechts = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QComboBox* CopyCombo = nullptr;
    QLabel* Label6 = nullptr;
    QCheckBox* Check1 = nullptr;
    ImageButton* OkKnop = nullptr;
    ImageButton* ExitKnop = nullptr;

    CommonDialog* m_commonDialog = nullptr;
    PrintJobs m_printJobs;
    int m_sizeFactor = 1;
    bool m_okRunning = false;
    // Exit while a page is being printed waits for the job to be sent.
    bool m_printing = false;
    bool m_exitRequested = false;
    bool m_ending = false;
    // An OK that came while a photo was being read runs when it is in.
    bool m_okAfterLoading = false;
    std::unique_ptr<QThread> m_loader;
    // Messages about photos named on the command line, until the window is active.
    bool m_holdMessages = false;
    QStringList m_heldMessages;
    PhotoLoader::Result m_loaded; // written by the loader's thread
    QString m_pictureFile;
    // How the photo goes into its frame, and the calendar's options.
    RememberedChoices m_choices;
    QMenu* m_pageMenu = nullptr;
    // Where the photo in Picture1 came from.
    QString m_photoFile;
};
