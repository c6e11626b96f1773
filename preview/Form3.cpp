// The preview window: layout, hand-over, initialisation, zoom, scrolling, drag-panning, pointer,
// "< Back" and closing. Saving lives in Form3Save.cpp, printing and PDF in Form3Print.cpp.
#include "preview/Form3.h"

#include "app/FileNames.h"
#include "app/HeldFiles.h"
#include "app/Helpers.h"
#include "app/Paths.h"
#include "app/ProgramExit.h"
#include "app/Trap.h"
#include "app/WindowHelpers.h"
#include "app/Settings.h"
#include "app/WindowHelpers.h"
#include "app/WindowPointer.h"
#include "preview/PictureArea.h"
#include "preview/SheetPicture.h"

#include "sheet/xls/XlsReader.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QGroupBox>
#include <QImageReader>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QShortcut>
#include <QWheelEvent>

#include <memory>

namespace preview {

namespace {

Form3* g_instance = nullptr;

// The row of the print and PDF buttons: the 405 twips of a button and the 120 between rows.
constexpr int kPrintRowHeight = 525;

// The window's laid-out client size, which is also its smallest.
constexpr int kLaidOutWidth = 9840;
constexpr int kLaidOutHeight = 9360 + kPrintRowHeight;

int px(double twips) { return app::twipsToPixels(twips); }
QRect pxRect(int left, int top, int width, int height) { return QRect(px(left), px(top), px(width), px(height)); }

}  // namespace

Form3::Form3(QWidget* parent) : QWidget(parent)
{
    buildControls();
    Form_Load();
}

Form3::~Form3()
{
    if (g_instance == this)
        g_instance = nullptr;
}

Form3& Form3::instance()
{
    if (!g_instance)
        g_instance = new Form3;
    return *g_instance;
}

Form3* Form3::existing() { return g_instance; }

bool Form3::hasHandCursor() const { return mPointer->hasHand(); }

void Form3::buildControls()
{
    // Designed in twips: the client area is 9840 × 9360, and below it one more row of buttons
    // (printing and PDF) with the same widths, gaps and bottom margin as the row above. That size
    // is the window's default and its smallest; a larger window gives the view the difference.
    setMinimumSize(px(kLaidOutWidth), px(kLaidOutHeight));
    resize(minimumSize());
    if (const auto stored = app::Settings::stored(app::Settings::kPreviewSize)) {
        const QStringList sides = stored->split(QLatin1Char('x'));
        if (sides.size() == 2)
            resize(QSize(sides[0].toInt(), sides[1].toInt()).expandedTo(minimumSize()));
    }
    setFont(QFont(QStringLiteral("Arial")));

    Picture2 = new QFrame(this);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Picture2->setLineWidth(px(kViewBorder));
    mViewport = new QWidget(Picture2);
    QPalette white = mViewport->palette();
    white.setColor(QPalette::Window, Qt::white);
    mViewport->setPalette(white);
    mViewport->setAutoFillBackground(true);
    Picture1 = new PictureArea(mViewport);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->resize(0, 0);
    // The picture shows the ordinary pointer whatever the window's pointer is.
    Picture2->setCursor(Qt::ArrowCursor);

    VScroll1 = new QScrollBar(Qt::Vertical, this);
    VScroll1->setObjectName(QStringLiteral("VScroll1"));
    HScroll1 = new QScrollBar(Qt::Horizontal, this);
    HScroll1->setObjectName(QStringLiteral("HScroll1"));
    for (QScrollBar* bar : {HScroll1, VScroll1}) {
        bar->setRange(0, 0);
        bar->setEnabled(false);
        bar->setCursor(Qt::ArrowCursor);
    }

    Frame1 = new QGroupBox(QStringLiteral("Zoom:"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    PushButton1 = new QPushButton(QStringLiteral("Zoom In"), Frame1);
    PushButton1->setGeometry(pxRect(240, 300, 4440, 405));
    PushButton2 = new QPushButton(QStringLiteral("Zoom Out"), Frame1);
    PushButton2->setGeometry(pxRect(4800, 300, 4560, 405));
    PushButton8 = new QPushButton(QStringLiteral("< Back"), this);
    PushButton6 = new QPushButton(QStringLiteral("Save Results To Excel File"), this);
    PushButton9 = new QPushButton(QStringLiteral("Print..."), this);
    PushButton10 = new QPushButton(QStringLiteral("Save as PDF..."), this);
    PushButton1->setObjectName(QStringLiteral("PushButton1"));
    PushButton2->setObjectName(QStringLiteral("PushButton2"));
    PushButton8->setObjectName(QStringLiteral("PushButton8"));
    PushButton6->setObjectName(QStringLiteral("PushButton6"));
    PushButton9->setObjectName(QStringLiteral("PushButton9"));
    PushButton10->setObjectName(QStringLiteral("PushButton10"));

    connect(PushButton1, &QPushButton::clicked, this, &Form3::PushButton1_Click);
    connect(PushButton2, &QPushButton::clicked, this, &Form3::PushButton2_Click);
    connect(PushButton6, &QPushButton::clicked, this, &Form3::PushButton6_Click);
    connect(PushButton8, &QPushButton::clicked, this, &Form3::PushButton8_Click);
    connect(PushButton9, &QPushButton::clicked, this, &Form3::PushButton9_Click);
    connect(PushButton10, &QPushButton::clicked, this, &Form3::PushButton10_Click);
    connect(HScroll1, &QScrollBar::valueChanged, this, [this](int value) {
        mGeometry.setHValue(value);
        syncPicture();
    });
    connect(VScroll1, &QScrollBar::valueChanged, this, [this](int value) {
        mGeometry.setVValue(value);
        syncPicture();
    });
    connect(Picture1, &PictureArea::pressed, this, &Form3::picture1_MouseDown);
    connect(Picture1, &PictureArea::moved, this, &Form3::picture1_MouseMove);
    connect(Picture1, &PictureArea::released, this, [this](QPointF) { Picture1_MouseUp(); });

    // Made once every push button exists: it watches the buttons there are.
    mPointer = new app::WindowPointer(this);
    mPointer->addSurface(Frame1);
    layoutControls();
    buildShortcuts();
}

void Form3::layoutControls()
{
    if (!Picture2)
        return;
    const int dw = std::max(0, width() - px(kLaidOutWidth));
    const int dh = std::max(0, height() - px(kLaidOutHeight));
    const auto grown = [&](QRect r, int right, int down, int wider, int taller) {
        return QRect(r.x() + right, r.y() + down, r.width() + wider, r.height() + taller);
    };
    Picture2->setGeometry(grown(pxRect(120, 120, 9330, 7425), 0, 0, dw, dh));
    mViewport->setGeometry(Picture2->contentsRect());
    VScroll1->setGeometry(grown(pxRect(9450, 120, 255, 7425), dw, 0, 0, dh));
    HScroll1->setGeometry(grown(pxRect(120, 7545, 9330, 255), 0, dh, dw, 0));
    Frame1->setGeometry(grown(pxRect(120, 7860, 9600, 855), 0, dh, 0, 0));
    PushButton1->setGeometry(pxRect(240, 300, 4440, 405));
    PushButton2->setGeometry(pxRect(4800, 300, 4560, 405));
    PushButton8->setGeometry(grown(pxRect(120, 8850, 4680, 405), 0, dh, 0, 0));
    PushButton6->setGeometry(grown(pxRect(4920, 8850, 4800, 405), 0, dh, 0, 0));
    PushButton9->setGeometry(grown(pxRect(120, 8850 + kPrintRowHeight, 4680, 405), 0, dh, 0, 0));
    PushButton10->setGeometry(grown(pxRect(4920, 8850 + kPrintRowHeight, 4800, 405), 0, dh, 0, 0));
    mGeometry.setViewSize(kViewOuterWidth + dw * kTwipsPerPixel, kViewOuterHeight + dh * kTwipsPerPixel);
    syncBars();
    syncPicture();
}

void Form3::buildShortcuts()
{
    const auto key = [this](QKeySequence sequence, auto action) {
        connect(new QShortcut(sequence, this), &QShortcut::activated, this, action);
    };
    key(QKeySequence(Qt::CTRL | Qt::Key_S), &Form3::PushButton6_Click);
    key(QKeySequence(Qt::CTRL | Qt::Key_P), &Form3::PushButton9_Click);
    key(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), &Form3::PushButton10_Click);
    key(QKeySequence(Qt::ALT | Qt::Key_Left), &Form3::PushButton8_Click);
    const auto zoomIn = [this] {
        app::Trap trap(QStringLiteral("Form3"), QStringLiteral("PushButton1_Click"));
        trap(100, [&] { zoomAt(mGeometry.steppedZoom(0), viewCentre()); });
    };
    const auto zoomOut = [this] {
        app::Trap trap(QStringLiteral("Form3"), QStringLiteral("PushButton2_Click"));
        trap(100, [&] { zoomAt(mGeometry.steppedZoom(1), viewCentre()); });
    };
    key(QKeySequence(Qt::CTRL | Qt::Key_Plus), zoomIn);
    key(QKeySequence(Qt::CTRL | Qt::Key_Equal), zoomIn);
    key(QKeySequence(Qt::CTRL | Qt::Key_Minus), zoomOut);
    key(QKeySequence(Qt::CTRL | Qt::Key_0), [this] {
        app::Trap trap(QStringLiteral("Form3"), QStringLiteral("SetZoom"));
        trap(100, [&] { zoomAt(1.0f, viewCentre()); });
    });
}

void Form3::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutControls();
}

void Form3::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    rememberSize();
}

void Form3::rememberSize() const
{
    const QSize size = isMaximized() || isFullScreen() ? normalGeometry().size() : this->size();
    if (size.isValid())
        app::Settings::store(app::Settings::kPreviewSize, QStringLiteral("%1x%2").arg(size.width()).arg(size.height()));
}

void Form3::wheelEvent(QWheelEvent* event)
{
    const QPoint at = mViewport->mapFrom(this, event->position().toPoint());
    if (!mViewport->rect().contains(at) || mFirstActivate) {
        event->ignore();
        return;
    }
    event->accept();
    const QPoint turn = event->angleDelta();
    if (event->modifiers() & Qt::ControlModifier) {
        if (turn.y() == 0)
            return;
        app::Trap trap(QStringLiteral("Form3"), turn.y() > 0 ? QStringLiteral("PushButton1_Click") : QStringLiteral("PushButton2_Click"));
        trap(100, [&] { zoomAt(mGeometry.steppedZoom(turn.y() > 0 ? 0 : 1), QPointF(at)); });
        return;
    }
    // The wheel scrolls by bar units of one text row or so (three rows a notch, as lists do).
    const bool sideways = turn.y() == 0 || (event->modifiers() & Qt::ShiftModifier);
    QScrollBar* bar = sideways ? HScroll1 : VScroll1;
    const int notch = sideways && turn.x() != 0 ? turn.x() : turn.y();
    const int step = std::max(1, (sideways ? mGeometry.hBar().step : mGeometry.vBar().step));
    bar->setValue(bar->value() - notch * 3 * 17 * kTwipsPerPixel / 120 / step);
}

// ---- load, hand-over and initialisation

void Form3::Form_Load()
{
    app::Trap trap(QStringLiteral("Form3"), QStringLiteral("Form_Load"));
    trap(100, [&] { mFirstActivate = true; });
    trap(102, [&] { app::SetFormColours(this); });
    trap(104, [&] { setWindowTitle(QStringLiteral("Rostelle Software")); });
    trap(106, [&] {
        if (app::FileExists(app::paths::iconFile()))
            setWindowIcon(QIcon(app::paths::iconFile()));
    });
    if (trap.test(108, [&] { return app::FileExists(app::paths::handPointerFile()); }))
        trap(110, [&] { mPointer->setHand(app::loadPointerFile(app::paths::handPointerFile())); });
}

void Form3::setPictureFromFile(const QString& path)
{
    if (!app::FileExists(path))
        throw app::Failure(QStringLiteral("The picture \"%1\" is missing.").arg(path));
    QImageReader reader(path);
    QImage picture = reader.read();
    if (picture.isNull())
        throw app::Failure(QStringLiteral("The picture \"%1\" cannot be read (%2).").arg(path, reader.errorString()));
    setPicture(picture);
}

void Form3::loadPicture(const QString& path, const QImage& written)
{
    if (written.isNull())
        setPictureFromFile(path);
    else
        setPicture(written);
}

void Form3::loadSheet()
{
    if (mExcelFile.isEmpty() || !app::FileExists(mExcelFile))
        return;
    try {
        std::shared_ptr<const sheet::WorkbookData> book = sheet::xls::readWorkbook(app::toSystemBytes(mExcelFile));
        const SheetPicture picture = SheetPicture::ofWorkbook(std::move(book));
        Picture1->setPicture(picture);
        mGeometry.pictureLoaded(picture.size().width() * kTwipsPerPixel, picture.size().height() * kTwipsPerPixel);
    } catch (const std::exception&) {
        // Not readable as a workbook: the picture handed over is shown instead, as it came.
    }
}

void Form3::setPicture(const QImage& picture)
{
    Picture1->setPicture(SheetPicture::ofImage(picture));
    mGeometry.pictureLoaded(picture.width() * kTwipsPerPixel, picture.height() * kTwipsPerPixel);
    mFirstActivate = true;
}

void Form3::showPreview()
{
    show();
    raise();
    activateWindow();
    // Already on screen: no show or activation may follow, so initialise here.
    if (mFirstActivate)
        Form_Activate();
}

void Form3::hideMainWindow(QWidget* mainWindow)
{
    mMainWindow = mainWindow;
    if (mainWindow)
        mainWindow->hide();
}

void Form3::handOver(const QString& picturePath, const QString& excelFile, QWidget* mainWindow)
{
    setPictureFromFile(picturePath);
    setExcelFile(excelFile);
    showPreview();
    hideMainWindow(mainWindow);
}

void Form3::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    Form_Activate();
}

void Form3::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Form_Activate();
}

void Form3::Form_Activate()
{
    app::Trap trap(QStringLiteral("Form3"), QStringLiteral("Form_Activate"));
    if (trap.test(100, [&] { return mFirstActivate; })) {
        trap(102, [&] { Picture1->show(); });
        trap(104, [&] {
            loadSheet();
            mGeometry.initialise();
        });
        trap(106, [&] { RedrawImage(); });
        trap(108, [&] { SetupScrollbars(); });
    }
    trap(110, [&] { mFirstActivate = false; });
}

// ---- zoom and repaint

void Form3::SetupScrollbars()
{
    mGeometry.setupScrollbars();
    syncBars();
    syncPicture();
}

void Form3::ZoomStep(int direction) { SetZoom(mGeometry.steppedZoom(direction)); }

void Form3::SetZoom(float factor)
{
    if (mGeometry.acceptZoom(factor))
        RedrawImage();
}

void Form3::RedrawImage()
{
    app::Trap trap(QStringLiteral("Form3"), QStringLiteral("RedrawImage"));
    if (!trap.value(100, true, [&] { return mGeometry.redrawImage(); }))
        return;  // refused at the size limit: the picture keeps showing as it was
    trap(102, [&] { Picture1->showZoomed(mGeometry.mZoom, QSize(px(mGeometry.mZoomWidth), px(mGeometry.mZoomHeight))); });
    trap(104, [&] { mPointer->set(app::WindowPointer::Shape::Default); });
    trap(106, [&] {
        syncBars();
        syncPicture();
    });
}

void Form3::zoomAt(float factor, QPointF viewPixel)
{
    if (mGeometry.setZoomAround(factor, viewPixel.x() * kTwipsPerPixel, viewPixel.y() * kTwipsPerPixel))
        showZoomed();
}

QPointF Form3::viewCentre() const { return QRectF(mViewport->rect()).center(); }

void Form3::showZoomed()
{
    Picture1->showZoomed(mGeometry.mZoom, QSize(px(mGeometry.mZoomWidth), px(mGeometry.mZoomHeight)));
    syncBars();
    syncPicture();
}

void Form3::PushButton1_Click()
{
    app::Trap trap(QStringLiteral("Form3"), QStringLiteral("PushButton1_Click"));
    trap(100, [&] { ZoomStep(0); });
}

void Form3::PushButton2_Click()
{
    app::Trap trap(QStringLiteral("Form3"), QStringLiteral("PushButton2_Click"));
    trap(100, [&] { ZoomStep(1); });
}

void Form3::syncBars()
{
    const auto apply = [](QScrollBar* bar, const ScrollBarState& state, int pageStep) {
        const QSignalBlocker block(bar);
        bar->setRange(0, state.maximum);
        bar->setValue(state.value);
        bar->setSingleStep(1);
        bar->setPageStep(pageStep);
        bar->setEnabled(state.enabled);
    };
    apply(HScroll1, mGeometry.hBar(), mGeometry.hPageStep());
    apply(VScroll1, mGeometry.vBar(), mGeometry.vPageStep());
}

void Form3::syncPicture()
{
    Picture1->setGeometry(px(mGeometry.pictureLeft()), px(mGeometry.pictureTop()), px(mGeometry.pictureWidth()),
                          px(mGeometry.pictureHeight()));
}

// ---- scroll bars by percent and drag-panning

void Form3::SetHScrollbarByPercent(std::int16_t percent)
{
    mGeometry.setHScrollbarByPercent(percent);
    syncBars();
    syncPicture();
}

void Form3::SetVScrollbarByPercent(std::int16_t percent)
{
    mGeometry.setVScrollbarByPercent(percent);
    syncBars();
    syncPicture();
}

void Form3::picture1_MouseDown(QPointF twips)
{
    app::Trap trap(QStringLiteral("Form3"), QStringLiteral("picture1_MouseDown"));
    trap(100, [&] { mGeometry.mouseDown(float(twips.x()), float(twips.y())); });
}

void Form3::picture1_MouseMove(QPointF twips, bool buttonHeld)
{
    app::Trap trap(QStringLiteral("Form3"), QStringLiteral("picture1_MouseMove"));
    if (!buttonHeld)
        return;
    trap(100, [&] { mGeometry.mouseMove(float(twips.x()), float(twips.y()), true); });
    trap(102, [&] { syncPicture(); });
}

void Form3::Picture1_MouseUp()
{
    app::Trap trap(QStringLiteral("Form3"), QStringLiteral("Picture1_MouseUp"));
    std::int16_t hPercent = 0, vPercent = 0;
    const bool hKnown = trap.value(100, false, [&] { return mGeometry.horizontalPercent(hPercent); });
    const bool vKnown = trap.value(102, false, [&] { return mGeometry.verticalPercent(vPercent); });
    if (hKnown)
        trap(104, [&] { SetHScrollbarByPercent(hPercent); });
    if (vKnown)
        trap(106, [&] { SetVScrollbarByPercent(vPercent); });
}

// ---- back and closing

void Form3::deleteExcelFile()
{
    app::releaseFile(mExcelFile);
    app::DeleteFileForced(mExcelFile);
}

void Form3::PushButton8_Click()
{
    app::Trap trap(QStringLiteral("Form3"), QStringLiteral("PushButton8_Click"));
    trap(100, [&] { deleteExcelFile(); });
    trap(102, [&] {
        if (mMainWindow)
            mMainWindow->show();
    });
    trap(104, [&] { hide(); });
}

void Form3::closeEvent(QCloseEvent* event)
{
    event->accept();
    rememberSize();
    Form_QueryUnload();
}

void Form3::Form_QueryUnload()
{
    app::Trap trap(QStringLiteral("Form3"), QStringLiteral("Form_QueryUnload"));
    trap(100, [&] { deleteExcelFile(); });
    trap(102, [&] { QCoreApplication::processEvents(); });
    trap(104, [&] { QCoreApplication::processEvents(); });
    trap(106, [&] { app::endProgram(0); });
}

}  // namespace preview
