// The preview window (Form3): shows the weekly schedule sheet, drawn from the working workbook at
// the shown zoom, with zoom buttons, keys and wheel, scroll bars and drag-panning, in a window
// that can grow beyond its laid-out size; saves the working workbook where the user chooses, prints the schedule
// or saves it as PDF, and leads back to the main window. From the hand-over on it owns the working
// workbook and deletes it on "< Back" and on closing.
#pragma once

#include "preview/PreviewGeometry.h"

#include <QImage>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <cstdint>

class QFrame;
class QGroupBox;
class QPushButton;
class QScrollBar;
class QWheelEvent;

namespace app {
class WindowPointer;
}

namespace preview {

class PictureArea;

class Form3 final : public QWidget {
    Q_OBJECT
public:
    explicit Form3(QWidget* parent = nullptr);
    ~Form3() override;

    // The program's one preview window, made on first use.
    static Form3& instance();
    static Form3* existing();

    // Hand-over from the report driver. Each step may be called on its own (so that each gets its
    // own numbered statement in the caller's trap); handOver does them in order and stops at the
    // first failure, which it throws to the caller.
    void handOver(const QString& picturePath, const QString& excelFile, QWidget* mainWindow);
    // Loads a picture file into the picture area and marks the window for initialisation.
    // Throws app::Failure when the file is missing or cannot be read as a picture.
    void setPictureFromFile(const QString& path);
    // The picture the report driver wrote to `path`: taken as it is when the driver hands it over
    // (a null image means it has none), else read from the file as above.
    void loadPicture(const QString& path, const QImage& written);
    void setPicture(const QImage& picture);
    // The picture area, for those that look at what it shows.
    const PictureArea& pictureArea() const { return *Picture1; }
    void setExcelFile(const QString& path) { mExcelFile = path; }
    // Shows the window without making it modal, initialising it when a hand-over is pending.
    void showPreview();
    // Hides the main window and remembers it for "< Back".
    void hideMainWindow(QWidget* mainWindow);
    void setMainWindow(QWidget* mainWindow) { mMainWindow = mainWindow; }

    // What the window holds, for those that look at it from outside.
    const QString& excelFile() const { return mExcelFile; }
    bool initialisationPending() const { return mFirstActivate; }
    bool isSaving() const { return mSaving; }
    bool isPrinting() const { return mPrinting; }
    const PreviewGeometry& previewGeometry() const { return mGeometry; }
    float zoom() const { return mGeometry.mZoom; }
    bool hasHandCursor() const;

public slots:
    void Form_Activate();
    void PushButton1_Click();  // Zoom In
    void PushButton2_Click();  // Zoom Out
    void PushButton6_Click();  // Save Results To Excel File
    void PushButton8_Click();  // < Back
    void PushButton9_Click();  // Print...
    void PushButton10_Click(); // Save as PDF...

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void buildShortcuts();
    // Places the controls for the window's size: the view and its bars take what the window has
    // beyond its laid-out size, the button rows keep their distance from the bottom edge.
    void layoutControls();
    // The working workbook's sheet, when it can be read, replaces the picture handed over.
    void loadSheet();
    // A zoom that keeps the picture's point under `viewPixel` (in the view's interior) in place.
    void zoomAt(float factor, QPointF viewPixel);
    QPointF viewCentre() const;
    void showZoomed();
    void rememberSize() const;
    void syncBars();
    void syncPicture();

    // Procedures.
    void Form_Load();
    void SetupScrollbars();
    void ZoomStep(int direction);
    void SetZoom(float factor);
    void RedrawImage();
    void SetHScrollbarByPercent(std::int16_t percent);
    void SetVScrollbarByPercent(std::int16_t percent);
    void picture1_MouseDown(QPointF twips);
    void picture1_MouseMove(QPointF twips, bool buttonHeld);
    void Picture1_MouseUp();
    void Form_QueryUnload();
    // Gives up the working workbook: its lock, then the file.
    void deleteExcelFile();

    // Controls.
    QFrame* Picture2 = nullptr;        // view area
    PictureArea* Picture1 = nullptr;   // picture area inside the view
    QScrollBar* VScroll1 = nullptr;
    QScrollBar* HScroll1 = nullptr;
    QGroupBox* Frame1 = nullptr;       // "Zoom:"
    QPushButton* PushButton1 = nullptr;
    QPushButton* PushButton2 = nullptr;
    QPushButton* PushButton8 = nullptr;
    QPushButton* PushButton6 = nullptr;
    QPushButton* PushButton9 = nullptr;   // "Print...", in the row below the window's laid-out area
    QPushButton* PushButton10 = nullptr;  // "Save as PDF...", beside it
    QWidget* mViewport = nullptr;      // the view's interior, which clips the picture area

    // Window state.
    QString mExcelFile;          // the working workbook
    bool mFirstActivate = true;  // initialisation pending for the next activation
    bool mSaving = false;        // a save is running
    bool mPrinting = false;      // a print or a PDF save is running
    PreviewGeometry mGeometry;   // zoom, sizes, position and bars, in twips
    QPointer<QWidget> mMainWindow;
    app::WindowPointer* mPointer = nullptr;
};

}  // namespace preview
