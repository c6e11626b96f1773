// Workbooks the writer makes, read by programs no one here wrote: Python's xlrd (values and
// formatting), LibreOffice (the texts as shown, after a conversion that must succeed) and Perl's
// Spreadsheet::ParseExcel (page setup). And a workbook LibreOffice wrote, read by our reader.
#include "sheet/xls/XlsReader.h"
#include "sheet/xls/XlsWriter.h"

#include "SampleWorkbook.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QUrl>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace sheet;

namespace {

const QString kInteropDir = QStringLiteral(ROSTELLE_XLS_INTEROP_DIR);
const QString kDataDir = QStringLiteral(ROSTELLE_XLS_TEST_DATA_DIR);

struct Run {
    bool finished = false;
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run run(const QString& program, const QStringList& arguments, int timeoutMs)
{
    QProcess p;
    p.start(program, arguments);
    Run r;
    if (!p.waitForStarted(10000))
        return r;
    r.finished = p.waitForFinished(timeoutMs);
    if (!r.finished) {
        p.kill();
        p.waitForFinished(5000);
    }
    r.exitCode = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

QJsonObject dump(const QString& program, const QString& script, const QString& file)
{
    const Run r = run(program, {kInteropDir + "/" + script, file}, 60000);
    EXPECT_TRUE(r.finished && r.exitCode == 0) << r.err.toStdString();
    return QJsonDocument::fromJson(r.out).object();
}

// LibreOffice's conversion, with a profile of its own so that runs never share state.
QString convertWithLibreOffice(const QString& file, const QString& filter, const QString& outDir,
                               const QStringList& extra = {})
{
    QTemporaryDir profile;
    const Run r = run("soffice", QStringList{"-env:UserInstallation=" + QUrl::fromLocalFile(profile.path()).toString(), "--headless",
                                             "--norestore"} + extra + QStringList{"--convert-to", filter, "--outdir", outDir, file},
                      180000);
    EXPECT_TRUE(r.finished) << "LibreOffice did not finish in time";
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    return QString::fromUtf8(r.out + r.err);
}

QString saveSample(const QTemporaryDir& dir)
{
    const QString path = dir.filePath("sample.xls");
    xls::writeWorkbook(*xls_test::sampleWorkbook(), path.toStdString());
    return path;
}

QJsonArray array(std::initializer_list<QJsonValue> values) { return QJsonArray(values); }

}  // namespace

TEST(XlsInterop, XlrdReadsValuesAndFormatting)
{
    QTemporaryDir dir;
    const QJsonObject book = dump("/usr/bin/python3", "xlrd_dump.py", saveSample(dir));
    EXPECT_EQ(book["log"].toString(), "");  // no warnings
    const QJsonArray sheets = book["sheets"].toArray();
    ASSERT_EQ(sheets.size(), 2);
    EXPECT_EQ(sheets[0].toObject()["name"].toString(), "Notes");
    const QJsonObject s = sheets[1].toObject();
    EXPECT_EQ(s["name"].toString(), "Shift Schedule");
    EXPECT_EQ(s["merged"].toArray(), QJsonArray{array({0, 2, 1, 6})});
    const QJsonObject widths = s["widths"].toObject();
    EXPECT_EQ(widths["0"].toInt(), 2084);  // 7.43 characters
    EXPECT_EQ(widths["1"].toInt(), 1755);  // 6.14
    EXPECT_EQ(widths["2"].toInt(), 3766);  // 14
    EXPECT_EQ(widths["4"].toInt(), 329);   // 0.75
    EXPECT_EQ(widths["7"].toInt(), 2340);  // a formatted column of standard width
    const QJsonObject heights = s["heights"].toObject();
    EXPECT_EQ(heights["0"].toArray(), array({600, 1}));
    EXPECT_EQ(heights["2"].toArray(), array({255, 1}));
    EXPECT_EQ(heights["3"].toArray(), array({8190, 1}));

    const QJsonObject cells = s["cells"].toObject();
    const QJsonObject title = cells["0,1"].toObject();
    EXPECT_EQ(title["type"].toInt(), 1);
    EXPECT_EQ(title["value"].toString(), "Weekly Schedule");
    EXPECT_EQ(title["font"].toArray(), array({"Century Gothic", 480, 1, 700, 32767}));
    EXPECT_EQ(title["align"].toArray(), array({2, 1, 0}));
    EXPECT_EQ(cells["1,5"].toObject()["font"], title["font"]);  // covered part of the merged area

    const QJsonObject header = cells["2,0"].toObject();
    EXPECT_EQ(header["value"].toString(), QString::fromUtf8("Chlo\u00e9 \u20ac"));
    EXPECT_EQ(header["font"].toArray(), array({"Century Gothic", 240, 1, 700, 23}));
    EXPECT_EQ(header["align"].toArray(), array({2, 1, 1}));
    EXPECT_EQ(header["fill"].toArray(), array({1, 22}));
    EXPECT_EQ(header["borders"].toArray(), array({array({1, 55}), array({1, 55}), array({1, 55}), array({1, 55})}));

    const QJsonObject time = cells["2,1"].toObject();
    EXPECT_EQ(time["type"].toInt(), 3);  // a date or time
    EXPECT_DOUBLE_EQ(time["value"].toDouble(), 7.0 / 24);
    EXPECT_EQ(time["format"].toString(), "h:mm:ss AM/PM");
    EXPECT_EQ(time["font"].toArray(), array({"Century Gothic", 180, 0, 400, 23}));
    EXPECT_EQ(time["align"].toArray(), array({3, 0, 0}));
    EXPECT_EQ(time["fill"].toArray(), array({1, 43}));
    EXPECT_EQ(time["borders"].toArray(), array({array({1, 10}), array({0, 0}), array({1, 12}), array({0, 0})}));

    const QJsonObject number = cells["2,2"].toObject();
    EXPECT_EQ(number["type"].toInt(), 2);
    EXPECT_DOUBLE_EQ(number["value"].toDouble(), 8.5);
    EXPECT_EQ(number["format"].toString(), "General");
    EXPECT_EQ(number["font"].toArray(), array({"Arial", 200, 0, 400, 32767}));
    EXPECT_EQ(number["fill"].toArray(), array({0, 64}));
    EXPECT_EQ(cells["3,0"].toObject()["value"].toString(), "=SUM(A1)");
    EXPECT_EQ(cells["3,0"].toObject()["align"].toArray(), array({1, 2, 0}));
}

TEST(XlsInterop, LibreOfficeShowsTheTextsAsTheSpreadsheetDoes)
{
    QTemporaryDir dir;
    const QString file = saveSample(dir);
    // Comma separated, UTF-8, cells as shown, the second sheet.
    const QString log = convertWithLibreOffice(
        file, "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,true,false,false,2", dir.path());
    QFile csv(dir.filePath("sample-Shift Schedule.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly)) << log.toStdString();
    const QStringList lines = QString::fromUtf8(csv.readAll()).remove('\r').split('\n');
    ASSERT_GE(lines.size(), 5);
    // LibreOffice writes the columns up to the last one that shows something.
    EXPECT_EQ(lines[0].toStdString(), ",Weekly Schedule,,");
    EXPECT_EQ(lines[2].toStdString(), "Chlo\u00e9 \u20ac,7:00:00 AM,8.5,3:30:00 PM");
    EXPECT_EQ(lines[3].toStdString(), "=SUM(A1),,,");
    EXPECT_EQ(lines[4].toStdString(), "-12345.125,,,");
}

TEST(XlsInterop, ParseExcelReadsThePageSetup)
{
    QTemporaryDir dir;
    const QJsonObject book = dump("perl", "parseexcel_dump.pl", saveSample(dir));
    const QJsonArray sheets = book["sheets"].toArray();
    ASSERT_EQ(sheets.size(), 2);
    const QJsonObject s = sheets[1].toObject();
    EXPECT_EQ(s["paper"].toInt(), 9);
    EXPECT_EQ(s["portrait"].toInt(), 0);
    EXPECT_EQ(s["fit"].toArray(), array({1, 1}));
    EXPECT_EQ(s["pageFit"].toInt(), 1);
    EXPECT_EQ(s["noPls"].toInt(), 0);
    EXPECT_EQ(s["notes"].toInt(), 0);
    EXPECT_EQ(s["margins"].toArray(), array({0.7, 0.7, 0.5, 0.5, 0, 0}));
    EXPECT_EQ(s["centred"].toArray(), array({0, 0}));
    EXPECT_EQ(s["gridlines"].toInt(), 0);
    EXPECT_EQ(s["printArea"].toArray(), QJsonArray());
    EXPECT_EQ(s["texts"].toObject()["2,1"].toString(), "7:00:00 AM");
    EXPECT_EQ(s["texts"].toObject()["2,3"].toString(), "3:30:00 PM");

    // The first sheet keeps its own, different setup: portrait, scaled, not fitted.
    const QJsonObject notes = sheets[0].toObject();
    EXPECT_EQ(notes["portrait"].toInt(), 1);
    EXPECT_EQ(notes["pageFit"].toInt(), 0);
    EXPECT_EQ(notes["scale"].toInt(), 100);
}

TEST(XlsInterop, ReaderOpensAWorkbookLibreOfficeWrote)
{
    QTemporaryDir dir;
    const QString csv = dir.filePath("outside-program.csv");
    ASSERT_TRUE(QFile::copy(kDataDir + "/outside-program.csv", csv));
    // The CSV is UTF-8 and its times are in US English.
    const QString log = convertWithLibreOffice(csv, "xls:MS Excel 97", dir.path(), {"--infilter=CSV:44,34,76,1,,1033,false,true"});
    const QString xlsPath = dir.filePath("outside-program.xls");
    ASSERT_TRUE(QFile::exists(xlsPath)) << log.toStdString();

    const auto book = xls::readWorkbook(xlsPath.toStdString());
    ASSERT_EQ(book->sheets.size(), 1u);
    const SheetData& s = *book->sheets[0];
    const auto text = [&](int r, int c) { return std::get<CellText>(s.find(r, c)->value); };
    const auto number = [&](int r, int c) { return std::get<double>(s.find(r, c)->value); };
    EXPECT_EQ(text(1, 1), "Employee");
    EXPECT_EQ(text(1, 3), "Hours");
    EXPECT_EQ(text(2, 1), "Chlo\u00e9");
    EXPECT_DOUBLE_EQ(number(2, 2), 7.0 / 24);
    EXPECT_EQ(book->formats.at(s.find(2, 2)->format).numberFormat, kNumberFormatTime);
    EXPECT_DOUBLE_EQ(number(2, 3), 8.5);
    EXPECT_DOUBLE_EQ(number(3, 2), 15.5 / 24);
    EXPECT_DOUBLE_EQ(number(3, 3), 12);
    // And what was read saves again.
    EXPECT_NO_THROW(xls::writeWorkbook(*book, dir.filePath("again.xls").toStdString()));
}
