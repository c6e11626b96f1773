#include "tests/support/PdfProbe.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>

namespace testing_support {

PdfProbe::PdfProbe(const QByteArray& pdf) : path_(dir_.path() + "/probe.pdf")
{
    QFile file(path_);
    if (!file.open(QIODevice::WriteOnly) || file.write(pdf) != pdf.size()) {
        error_ = "cannot write " + path_;
        return;
    }
    file.close();
    readInfo();
}

PdfProbe::PdfProbe(const QString& path) : path_(path) { readInfo(); }

QString PdfProbe::run(const QString& program, const QStringList& arguments) const
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        error_ += program + " failed (is poppler-utils installed?): " + QString::fromLocal8Bit(process.readAllStandardError()) +
                  process.errorString() + "\n";
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

void PdfProbe::readInfo()
{
    const QString info = run("pdfinfo", {path_});
    const auto pages = QRegularExpression(R"(^Pages:\s+(\d+))", QRegularExpression::MultilineOption).match(info);
    if (pages.hasMatch())
        pages_ = pages.captured(1).toInt();
    const auto size = QRegularExpression(R"(^Page size:\s+([\d.]+) x ([\d.]+) pts)", QRegularExpression::MultilineOption).match(info);
    if (size.hasMatch())
        pageSize_ = QSizeF(size.captured(1).toDouble(), size.captured(2).toDouble());
}

QString PdfProbe::text() const { return run("pdftotext", {path_, "-"}); }

QString PdfProbe::pageText(int page) const
{
    return run("pdftotext", {"-f", QString::number(page), "-l", QString::number(page), path_, "-"});
}

QList<PdfProbe::Word> PdfProbe::words() const
{
    QList<Word> words;
    const QString html = run("pdftotext", {"-bbox", path_, "-"});
    static const QRegularExpression tag(R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    int page = 0;
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const auto match = it.next();
        if (match.captured(0).startsWith("<page"))
            ++page;
        else
            words.append({match.captured(5), page, match.captured(4).toDouble() - match.captured(2).toDouble()});
    }
    return words;
}

QList<PdfProbe::Font> PdfProbe::fonts(int page) const
{
    // Columns: name, type (one or two words), encoding, emb, sub, uni, object, ID; the name is
    // the first word and emb is the fifth word from the end.
    QList<Font> fonts;
    QStringList arguments{path_};
    if (page > 0)
        arguments = QStringList{"-f", QString::number(page), "-l", QString::number(page), path_};
    const QStringList lines = run("pdffonts", arguments).split('\n', Qt::SkipEmptyParts);
    for (qsizetype i = 2; i < lines.size(); ++i) {
        const QStringList words = lines[i].split(' ', Qt::SkipEmptyParts);
        if (words.size() >= 7)
            fonts.append({words.front(), words[words.size() - 5] == "yes"});
    }
    return fonts;
}

QImage PdfProbe::raster(int dpi) const
{
    const QString prefix = dir_.path() + "/page";
    run("pdftoppm", {"-r", QString::number(dpi), "-f", "1", "-l", "1", "-singlefile", path_, prefix});
    return QImage(prefix + ".ppm");
}

}  // namespace testing_support
