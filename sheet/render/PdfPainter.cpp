// The PDF paint engine. A page's content keeps three levels of saved graphics state: the page's
// own (its scale from device units to points), the clip, and the painter's transform, so that a
// change of clip or transform pops only what it replaces. Colour and font are written only when
// they change, and consecutive texts share one text object. Numbers and shapes are written as
// QPdfWriter wrote them, so that a reader puts every edge on the same device pixel as before.
// Texts come shaped from TextShaper (PdfText.h) in the fonts EmbeddedFonts (PdfFonts.h) writes.
#include "sheet/render/PdfPainter.h"

#include "sheet/render/PdfDocument.h"
#include "sheet/render/PdfFonts.h"
#include "sheet/render/PdfText.h"

#include <QDateTime>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QTransform>

#include <algorithm>
#include <cstddef>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace sheet::render {
namespace {

using pdf::appendInteger;
using pdf::appendNumber;

constexpr int kResolution = 1200;
constexpr auto kEngineType = static_cast<QPaintEngine::Type>(QPaintEngine::User + 0x2d);
constexpr std::size_t kContentPiece = 256 * 1024;

bool isRectangle(const QPainterPath& path, QRectF* rect)
{
    if (path.elementCount() != 5)
        return false;
    for (int i = 1; i < 5; ++i)
        if (path.elementAt(i).type != QPainterPath::LineToElement)
            return false;
    const auto p = [&](int i) { return QPointF(path.elementAt(i).x, path.elementAt(i).y); };
    if (p(4) != p(0))
        return false;
    const bool across = p(0).y() == p(1).y() && p(1).x() == p(2).x() && p(2).y() == p(3).y() && p(3).x() == p(0).x();
    const bool down = p(0).x() == p(1).x() && p(1).y() == p(2).y() && p(2).x() == p(3).x() && p(3).y() == p(0).y();
    if (!across && !down)
        return false;
    *rect = QRectF(p(0), p(2)).normalized();
    return true;
}

}  // namespace

class PdfPageEngine final : public QPaintEngine {
public:
    PdfPageEngine(const QPageLayout& layout, const QString& title, const QPaintDevice* device)
        : QPaintEngine(AllFeatures), layout_(layout), title_(title), shaper_(device, fonts_)
    {
    }

    bool begin(QPaintDevice*) override
    {
        document_ = std::make_unique<pdf::PdfDocument>();
        pdf_.clear();
        pagesObject_ = document_->reserve();
        resourcesObject_ = document_->reserve();
        stateObject_ = document_->reserve();
        pageObjects_.clear();
        fonts_.clear();
        shaper_.clear();
        clip_.reset();
        clipEnabled_ = false;
        ++clipSerial_;
        startPage();
        return true;
    }

    bool end() override
    {
        if (!document_)
            return false;
        endPage();
        writeDocument();
        document_.reset();
        return true;
    }

    Type type() const override { return kEngineType; }

    void updateState(const QPaintEngineState& state) override
    {
        const QPaintEngine::DirtyFlags dirty = state.state();
        if (dirty & DirtyClipEnabled) {
            clipEnabled_ = state.isClipEnabled();
            ++clipSerial_;
        }
        if (dirty & DirtyClipRegion) {
            QPainterPath path;
            path.addRegion(state.clipRegion());
            clipTo(path, state.clipOperation(), state.transform());
        }
        if (dirty & DirtyClipPath)
            clipTo(state.clipPath(), state.clipOperation(), state.transform());
    }

    void drawRects(const QRect* rects, int count) override
    {
        QRectF exact[64];
        while (count > 0) {
            const int n = std::min(count, 64);
            for (int i = 0; i < n; ++i)
                exact[i] = QRectF(rects[i]);
            drawRects(exact, n);
            rects += n;
            count -= n;
        }
    }

    void drawRects(const QRectF* rects, int count) override
    {
        if (fills()) {
            enter(state->transform());
            setColour(state->brush().color());
            // One path per rectangle: a reader aligns a lone rectangle's edges to its pixels.
            for (int i = 0; i < count; ++i) {
                appendNumber(content_, rects[i].x());
                content_ += ' ';
                appendNumber(content_, rects[i].y());
                content_ += ' ';
                appendNumber(content_, rects[i].width());
                content_ += ' ';
                appendNumber(content_, rects[i].height());
                content_ += " re\nf\n";
            }
            flushSome();
        }
        if (strokes()) {
            QPainterPath path;
            for (int i = 0; i < count; ++i)
                path.addRect(rects[i]);
            stroke(path);
        }
    }

    void drawPath(const QPainterPath& path) override
    {
        if (fills()) {
            enter(state->transform());
            setColour(state->brush().color());
            appendPath(path);
            content_ += path.fillRule() == Qt::OddEvenFill ? "f*\n" : "f\n";
        }
        if (strokes())
            stroke(path);
        flushSome();
    }

    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override
    {
        if (count < 2)
            return;
        QPainterPath path(points[0]);
        for (int i = 1; i < count; ++i)
            path.lineTo(points[i]);
        if (mode == PolylineMode) {
            if (strokes())
                stroke(path);
            return;
        }
        path.closeSubpath();
        path.setFillRule(mode == OddEvenMode ? Qt::OddEvenFill : Qt::WindingFill);
        drawPath(path);
    }

    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}

    void drawTextItem(const QPointF& at, const QTextItem& item) override
    {
        drawText(state->transform(), at, item.text(), item.font(), state->pen().color());
    }

    void drawText(const QTransform& matrix, const QPointF& at, const QString& text, const QFont& font, const QColor& color)
    {
        if (!document_ || text.isEmpty() || color.alpha() == 0)
            return;
        const pdf::ShapedText& runs = shaper_.shape(font, text);
        if (runs.empty())
            return;
        enter(matrix);
        setColour(color);
        if (!inText_) {
            content_ += "BT\n";
            inText_ = true;
            lineSet_ = false;
        }
        for (const pdf::ShapedRun& run : runs) {
            if (run.font != currentFont_ || run.size != currentSize_) {
                content_ += fonts_.resource(run.font);
                content_ += ' ';
                appendNumber(content_, run.size);
                content_ += " Tf\n";
                currentFont_ = run.font;
                currentSize_ = run.size;
            }
            moveTextTo(at.x() + run.x, at.y() + run.y);
            if (run.ghost)
                content_ += "/Span << /ActualText <> >> BDC\n";
            content_ += run.show;
            if (run.ghost)
                content_ += "EMC\n";
        }
        flushSome();
    }

    bool newPage()
    {
        if (!document_)
            return false;
        endPage();
        startPage();
        return true;
    }

    QByteArray pdf() const { return pdf_; }

private:
    bool fills() const { return state->brush().style() != Qt::NoBrush && state->brush().color().alpha() != 0; }
    bool strokes() const { return state->pen().style() != Qt::NoPen && state->pen().color().alpha() != 0; }

    void stroke(const QPainterPath& path)
    {
        QPainterPathStroker stroker(state->pen());
        if (state->pen().widthF() <= 0)
            stroker.setWidth(1);
        const QPainterPath outline = stroker.createStroke(path);
        enter(state->transform());
        setColour(state->pen().color());
        appendPath(outline);
        content_ += "f\n";
    }

    // The clip in device units: a rectangle while every clip so far was one under a transform
    // that keeps rectangles upright, else a path.
    struct Clip {
        bool isRect = true;
        QRectF rect;
        QPainterPath path;
        QPainterPath asPath() const
        {
            if (!isRect)
                return path;
            QPainterPath p;
            p.addRect(rect);
            return p;
        }
    };

    void clipTo(const QPainterPath& logical, Qt::ClipOperation operation, const QTransform& matrix)
    {
        ++clipSerial_;
        if (operation == Qt::NoClip) {
            clip_.reset();
            return;
        }
        Clip next;
        QRectF rect;
        if (matrix.type() <= QTransform::TxScale && isRectangle(logical, &rect)) {
            next.rect = QRectF(matrix.map(rect.topLeft()), matrix.map(rect.bottomRight())).normalized();
        } else {
            next.isRect = false;
            next.path = matrix.map(logical);
        }
        if (operation == Qt::IntersectClip && clip_) {
            if (clip_->isRect && next.isRect) {
                next.rect = clip_->rect.intersected(next.rect);
            } else {
                next.path = clip_->asPath().intersected(next.asPath());
                next.isRect = false;
            }
        }
        clip_ = next;
    }

    void startPage()
    {
        content_.clear();
        deflater_ = std::make_unique<pdf::Deflater>(pdf::kContentCompression);
        level_ = 0;
        inText_ = false;
        emittedClip_ = clipSerial_ - 1;
        forgetGraphicsState();
        // Device units (1200 to the inch, y down, origin at the printable area's corner) to points.
        const QRect paint = layout_.paintRectPixels(kResolution);
        const double scale = 72.0 / kResolution;
        QTransform page(scale, 0, 0, -scale, 0, layout_.fullRectPoints().height());
        page.translate(paint.left(), paint.top());
        content_ += "/GSa gs\n";
        appendMatrix(page);
    }

    void endPage()
    {
        closeText();
        while (level_ > 0)
            pop();
        deflater_->add(content_);
        content_.clear();
        const std::string compressed = deflater_->finish();
        deflater_.reset();
        const int contents = document_->reserve();
        document_->stream(contents, "", compressed, true);
        const int page = document_->reserve();
        const QRect paper = layout_.fullRectPoints();
        std::string body = "<< /Type /Page /Parent ";
        appendInteger(body, pagesObject_);
        body += " 0 R /MediaBox [0 0 ";
        appendInteger(body, paper.width());
        body += ' ';
        appendInteger(body, paper.height());
        body += "] /Resources ";
        appendInteger(body, resourcesObject_);
        body += " 0 R /Contents ";
        appendInteger(body, contents);
        body += " 0 R >>";
        document_->object(page, body);
        pageObjects_.push_back(page);
    }

    void flushSome()
    {
        if (content_.size() >= kContentPiece) {
            deflater_->add(content_);
            content_.clear();
        }
    }

    void appendMatrix(const QTransform& m)
    {
        for (const double v : {m.m11(), m.m12(), m.m21(), m.m22(), m.dx(), m.dy()}) {
            appendNumber(content_, v);
            content_ += ' ';
        }
        content_ += "cm\n";
    }

    void appendPoint(const QPointF& p)
    {
        appendNumber(content_, p.x());
        content_ += ' ';
        appendNumber(content_, p.y());
        content_ += ' ';
    }

    void appendPath(const QPainterPath& path)
    {
        for (int i = 0; i < path.elementCount(); ++i) {
            const QPainterPath::Element e = path.elementAt(i);
            switch (e.type) {
            case QPainterPath::MoveToElement:
                appendPoint(e);
                content_ += "m\n";
                break;
            case QPainterPath::LineToElement:
                appendPoint(e);
                content_ += "l\n";
                break;
            case QPainterPath::CurveToElement:
                if (i + 2 < path.elementCount()) {
                    appendPoint(e);
                    appendPoint(path.elementAt(i + 1));
                    appendPoint(path.elementAt(i + 2));
                    content_ += "c\n";
                    i += 2;
                }
                break;
            case QPainterPath::CurveToDataElement:
                break;
            }
        }
    }

    void forgetGraphicsState()
    {
        colour_.reset();
        currentFont_ = -1;
        currentSize_ = 0;
    }

    void closeText()
    {
        if (inText_) {
            content_ += "ET\n";
            inText_ = false;
        }
    }

    void pop()
    {
        content_ += "Q\n";
        --level_;
        forgetGraphicsState();
    }

    // Brings the page to the painter's clip and `matrix` before something is drawn.
    void enter(const QTransform& matrix)
    {
        if (emittedClip_ != clipSerial_) {
            closeText();
            while (level_ > 0)
                pop();
            content_ += "q\n";
            level_ = 1;
            if (clip_ && clipEnabled_)
                appendClip(*clip_);
            emittedClip_ = clipSerial_;
        }
        if (level_ < 2 || matrix != matrix_) {
            closeText();
            if (level_ == 2)
                pop();
            content_ += "q\n";
            if (!matrix.isIdentity())
                appendMatrix(matrix);
            level_ = 2;
            matrix_ = matrix;
        }
    }

    void appendClip(const Clip& clip)
    {
        if (clip.isRect) {
            const QRectF& r = clip.rect;
            if (r.isEmpty()) {
                content_ += "0 0 0 0 re\nW n\n";
                return;
            }
            appendPoint(r.topLeft());
            content_ += "m\n";
            appendPoint(r.topRight());
            content_ += "l\n";
            appendPoint(r.bottomRight());
            content_ += "l\n";
            appendPoint(r.bottomLeft());
            content_ += "l\n";
            appendPoint(r.topLeft());
            content_ += "l\nh\nW* n\n";
            return;
        }
        if (clip.path.isEmpty()) {
            content_ += "0 0 0 0 re\nW n\n";
            return;
        }
        appendPath(clip.path);
        content_ += clip.path.fillRule() == Qt::OddEvenFill ? "h\nW* n\n" : "h\nW n\n";
    }

    void setColour(const QColor& color)
    {
        const QRgb rgb = color.rgb();
        if (colour_ == rgb)
            return;
        colour_ = rgb;
        const QColor c = color.toRgb();
        appendNumber(content_, c.redF());
        content_ += ' ';
        appendNumber(content_, c.greenF());
        content_ += ' ';
        appendNumber(content_, c.blueF());
        content_ += " rg\n";
    }

    // Texts are placed with the text matrix flipped back upright against the painter's y down.
    void moveTextTo(double x, double y)
    {
        if (!lineSet_) {
            content_ += "1 0 0 -1 ";
            appendNumber(content_, x);
            content_ += ' ';
            appendNumber(content_, y);
            content_ += " Tm\n";
            lineSet_ = true;
        } else {
            appendNumber(content_, x - lineX_);
            content_ += ' ';
            appendNumber(content_, lineY_ - y);
            content_ += " Td\n";
        }
        lineX_ = x;
        lineY_ = y;
    }

    void writeDocument()
    {
        const std::string fontEntries = fonts_.write(*document_);
        std::string resources = "<< /ExtGState << /GSa ";
        appendInteger(resources, stateObject_);
        resources += " 0 R >> /Font << " + fontEntries + ">> >>";
        document_->object(resourcesObject_, resources);
        document_->object(stateObject_, "<< /Type /ExtGState /SA true /SM 0.02 /ca 1.0 /CA 1.0 /AIS false /SMask /None >>");

        std::string pages = "<< /Type /Pages /Kids [";
        for (const int page : pageObjects_) {
            appendInteger(pages, page);
            pages += " 0 R ";
        }
        pages += "] /Count ";
        appendInteger(pages, static_cast<long long>(pageObjects_.size()));
        pages += " >>";
        document_->object(pagesObject_, pages);

        const int catalog = document_->reserve();
        std::string catalogBody = "<< /Type /Catalog /Pages ";
        appendInteger(catalogBody, pagesObject_);
        catalogBody += " 0 R >>";
        document_->object(catalog, catalogBody);
        const int info = document_->reserve();
        const std::string created =
            QDateTime::currentDateTimeUtc().toString(QStringLiteral("'D:'yyyyMMddHHmmss'Z'")).toStdString();
        document_->object(info, "<< /Title " + pdf::textString(title_) + " /CreationDate (" + created + ") >>");
        pdf_ = document_->finish(catalog, info);
    }

    const QPageLayout layout_;
    const QString title_;
    std::unique_ptr<pdf::PdfDocument> document_;
    QByteArray pdf_;
    int pagesObject_ = 0;
    int resourcesObject_ = 0;
    int stateObject_ = 0;
    std::vector<int> pageObjects_;

    pdf::EmbeddedFonts fonts_;
    pdf::TextShaper shaper_;  // numbers its glyphs in fonts_

    std::optional<Clip> clip_;
    bool clipEnabled_ = false;
    unsigned long long clipSerial_ = 1;

    // What the page content has set so far.
    std::string content_;
    std::unique_ptr<pdf::Deflater> deflater_;
    int level_ = 0;
    unsigned long long emittedClip_ = 0;
    QTransform matrix_;
    std::optional<QRgb> colour_;
    int currentFont_ = -1;
    double currentSize_ = 0;
    bool inText_ = false;
    bool lineSet_ = false;
    double lineX_ = 0;
    double lineY_ = 0;
};

PdfPaintDevice::PdfPaintDevice(const QPageLayout& layout, const QString& title)
    : layout_(layout), engine_(std::make_unique<PdfPageEngine>(layout, title, this))
{
}

PdfPaintDevice::~PdfPaintDevice() = default;

QPaintEngine* PdfPaintDevice::paintEngine() const { return engine_.get(); }

bool PdfPaintDevice::newPage() { return engine_->isActive() && engine_->newPage(); }

QByteArray PdfPaintDevice::pdf() const { return engine_->pdf(); }

int PdfPaintDevice::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth:
        return layout_.paintRectPixels(kResolution).width();
    case PdmHeight:
        return layout_.paintRectPixels(kResolution).height();
    case PdmWidthMM:
        return qRound(layout_.paintRect(QPageLayout::Millimeter).width());
    case PdmHeightMM:
        return qRound(layout_.paintRect(QPageLayout::Millimeter).height());
    case PdmNumColors:
        return std::numeric_limits<int>::max();
    case PdmDepth:
        return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return kResolution;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return static_cast<int>(devicePixelRatioFScale());
    }
    return 0;
}

bool paintsPdf(QPainter& painter) { return painter.paintEngine() != nullptr && painter.paintEngine()->type() == kEngineType; }

void drawTextLine(QPainter& painter, const QPointF& at, const QString& text, const QFont& font, const QColor& color)
{
    if (paintsPdf(painter)) {
        static_cast<PdfPageEngine*>(painter.paintEngine())->drawText(painter.deviceTransform(), at, text, font, color);
        return;
    }
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(at, text);
}

}  // namespace sheet::render
