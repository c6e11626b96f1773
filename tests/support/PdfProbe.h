// A PDF read by poppler-utils, programs that are not ours: its page count and size (pdfinfo), its
// text (pdftotext), its fonts (pdffonts) and its first page as a raster (pdftoppm).
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace testing_support {

class PdfProbe {
public:
    explicit PdfProbe(const QByteArray& pdf);
    // A PDF already in a file.
    explicit PdfProbe(const QString& path);

    // Empty when all tools ran; otherwise what went wrong, to show in a failing test.
    QString error() const { return error_; }
    int pages() const { return pages_; }
    QSizeF pageSizePoints() const { return pageSize_; }
    QString text() const;
    // The text of one page (1 = the first).
    QString pageText(int page) const;
    // Every word with its page (1 = the first) and its box's height in points (pdftotext -bbox).
    struct Word {
        QString text;
        int page = 0;
        double height = 0;
    };
    QList<Word> words() const;
    // One entry per font: its name and whether it is embedded ("yes"/"no" of pdffonts); of one
    // page when `page` is given (1 = the first), else of the whole file.
    struct Font {
        QString name;
        bool embedded = false;
    };
    QList<Font> fonts(int page = 0) const;
    // The first page at `dpi`, white where nothing is painted.
    QImage raster(int dpi) const;

private:
    QString run(const QString& program, const QStringList& arguments) const;
    void readInfo();

    QTemporaryDir dir_;
    QString path_;
    mutable QString error_;
    int pages_ = 0;
    QSizeF pageSize_;
};

}  // namespace testing_support
