// The schedule of a fixed reference roster, built by the export and saved, must read back exactly
// as the workbook that was written for it when the reference was taken: through xlrd (values,
// number formats, fonts, fills, borders, alignment, merged areas, widths and heights) and through
// our own reader (the same, plus row and column formats, selection and page setup). The roster and
// both read-backs are kept in tests/data/reference-schedule; a change to how the engine stores or
// writes cells must leave them as they are.
//
// With ROSTELLE_REFERENCE_OUT set to a folder, the test writes the read-backs it got there.
#include "tests/report/ReportFixture.h"

#include "commands/ExportCommand.h"

#include "sheet/xls/XlsReader.h"

#include "store/Connection.h"
#include "store/Weekday.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>

#include <variant>

using report_testing::ReportTest;

namespace {

const QString kReferenceDir = QStringLiteral(ROSTELLE_TEST_DATA_DIR "/reference-schedule");

QJsonObject readJson(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

std::optional<store::Weekday> weekdayNamed(const QString& name)
{
    for (store::Weekday day : store::allWeekdays)
        if (store::weekdayCaption(day) == name)
            return day;
    return std::nullopt;
}

// Each distinct look once, numbered in order of first use.
class Looks {
public:
    int indexOf(const sheet::CellFormat& f)
    {
        for (std::size_t i = 0; i < known_.size(); ++i)
            if (known_[i] == f)
                return static_cast<int>(i);
        known_.push_back(f);
        QJsonArray borders;
        for (const sheet::Border& b : f.borders)
            borders.append(QJsonArray{b.lineStyle, b.colorIndex});
        json_.append(QJsonObject{
            {"font", QJsonArray{QString::fromStdString(f.font.name), f.font.size, f.font.bold, f.font.colorIndex}},
            {"number_format", f.numberFormat},
            {"align", QJsonArray{f.horizontalAlignment, f.verticalAlignment, f.wrapText}},
            {"fill", f.interiorColorIndex},
            {"borders", borders},
        });
        return static_cast<int>(known_.size() - 1);
    }
    const QJsonArray& json() const { return json_; }

private:
    std::vector<sheet::CellFormat> known_;
    QJsonArray json_;
};

QJsonArray rectJson(const sheet::CellRect& r) { return {r.top, r.left, r.bottom, r.right}; }

// What our reader makes of the workbook, in the layout of the xlrd dump's --runs form: per row,
// runs of equal neighbouring cells as [first column, last column, kind, value, look].
QJsonObject readerDump(const sheet::WorkbookData& book)
{
    Looks looks;
    QJsonArray sheets;
    for (const auto& s : book.sheets) {
        QJsonObject rows;
        int currentRow = 0;
        QJsonArray runs;
        const auto flush = [&] {
            if (currentRow)
                rows[QString::number(currentRow)] = runs;
            runs = {};
        };
        for (const auto& [ref, cell] : s->cells()) {
            if (ref.row != currentRow) {
                flush();
                currentRow = ref.row;
            }
            QJsonArray entry{ref.column, ref.column};
            if (const auto* number = std::get_if<double>(&cell.value))
                entry << "number" << *number;
            else if (const auto* text = std::get_if<sheet::CellText>(&cell.value))
                entry << "text" << QString::fromStdString(text->str());
            else
                entry << "empty" << "";
            entry << looks.indexOf(book.formats.at(cell.format));
            if (!runs.isEmpty()) {
                QJsonArray last = runs.last().toArray();
                if (last[1].toInt() == ref.column - 1 && last[2] == entry[2] && last[3] == entry[3] && last[4] == entry[4]) {
                    last[1] = ref.column;
                    runs[runs.size() - 1] = last;
                    continue;
                }
            }
            runs.append(entry);
        }
        flush();

        QJsonObject heights, widths, rowLooks, columnLooks;
        for (const auto& [row, points] : s->rowHeights())
            heights[QString::number(row)] = points;
        for (const auto& [column, characters] : s->columnWidths())
            widths[QString::number(column)] = characters;
        for (const auto& [row, id] : s->rowFormats())
            rowLooks[QString::number(row)] = looks.indexOf(book.formats.at(id));
        for (const auto& [column, id] : s->columnFormats())
            columnLooks[QString::number(column)] = looks.indexOf(book.formats.at(id));
        QJsonArray merges;
        for (const sheet::CellRect& m : s->merges)
            merges.append(rectJson(m));
        const sheet::PageSetup& p = s->pageSetup;
        const QJsonObject page{
            {"print_area", QString::fromStdString(p.printArea)},
            {"margins", QJsonArray{p.leftMargin, p.rightMargin, p.topMargin, p.bottomMargin, p.headerMargin, p.footerMargin}},
            {"print_comments", p.printComments},
            {"orientation", p.orientation},
            {"paper", p.paperSize},
            {"zoom", p.zoom ? QJsonValue(*p.zoom) : QJsonValue(false)},
            {"fit", QJsonArray{p.fitToPagesWide, p.fitToPagesTall}},
        };
        sheets.append(QJsonObject{
            {"name", QString::fromStdString(s->name)},
            {"cells", rows},
            {"heights", heights},
            {"widths", widths},
            {"row_styles", rowLooks},
            {"column_styles", columnLooks},
            {"merged", merges},
            {"selection", rectJson(s->selection)},
            {"active_cell", QJsonArray{s->activeCell.row, s->activeCell.column}},
            {"page_setup", page},
        });
    }
    return QJsonObject{{"sheets", sheets}, {"active", book.activeSheet}, {"styles", looks.json()}};
}

// Where two JSON values first differ, as a path ("sheets/0/cells/12/3"); empty when equal.
QString firstDifference(const QJsonValue& expected, const QJsonValue& actual, const QString& at = {})
{
    if (expected.type() != actual.type())
        return at + " (kind of value)";
    if (expected.isObject()) {
        const QJsonObject e = expected.toObject(), a = actual.toObject();
        for (auto it = e.begin(); it != e.end(); ++it) {
            if (!a.contains(it.key()))
                return at + "/" + it.key() + " (missing)";
            if (QString d = firstDifference(it.value(), a[it.key()], at + "/" + it.key()); !d.isEmpty())
                return d;
        }
        for (auto it = a.begin(); it != a.end(); ++it)
            if (!e.contains(it.key()))
                return at + "/" + it.key() + " (not expected)";
        return {};
    }
    if (expected.isArray()) {
        const QJsonArray e = expected.toArray(), a = actual.toArray();
        for (qsizetype i = 0; i < std::min(e.size(), a.size()); ++i)
            if (QString d = firstDifference(e[i], a[i], at + "/" + QString::number(i)); !d.isEmpty())
                return d;
        return e.size() == a.size() ? QString() : at + " (length " + QString::number(a.size()) + ", expected " +
                                                     QString::number(e.size()) + ")";
    }
    if (expected != actual)
        return at + ": " + QJsonDocument(QJsonArray{actual}).toJson(QJsonDocument::Compact) + ", expected " +
               QJsonDocument(QJsonArray{expected}).toJson(QJsonDocument::Compact);
    return {};
}

class ReferenceScheduleTest : public ReportTest {
protected:
    // Stores the roster and exports its schedule; returns the workbook's path.
    QString exportRoster()
    {
        const QJsonObject roster = readJson(kReferenceDir + "/roster.json");
        EXPECT_FALSE(roster.isEmpty()) << "the reference roster cannot be read";
        for (const QJsonValue& value : roster["employees"].toArray()) {
            const QJsonObject employee = value.toObject();
            const qint64 id = addEmployee(employee["name"].toString(), employee["position"].toString());
            for (const QJsonValue& shift : employee["shifts"].toArray()) {
                const QJsonArray s = shift.toArray();
                const auto day = weekdayNamed(s[0].toString());
                EXPECT_TRUE(day.has_value()) << s[0].toString().toStdString();
                if (day)
                    addShift(*day, id, s[1].toString(), s[2].toString());
            }
        }
        EXPECT_EQ(roster["interval"].toString(), "15-minutes");
        store::shared().close();  // the export opens the working database itself
        const QString path = QDir::tempPath() + "/reference.xls";
        EXPECT_EQ(commands::runExport({path, {}, roster["week"].toString(), roster["department"].toString(),
                                     schedule::Interval::FifteenMinutes}),
                  commands::kExportDone)
            << dialogs.texts().join("\n").toStdString();
        return path;
    }

    void compareWithReference(const QJsonObject& actual, const QString& name)
    {
        if (const QByteArray out = qgetenv("ROSTELLE_REFERENCE_OUT"); !out.isEmpty()) {
            QFile file(QString::fromLocal8Bit(out) + "/" + name);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(QJsonDocument(actual).toJson(QJsonDocument::Compact));
            file.write("\n");
        }
        const QJsonObject expected = readJson(kReferenceDir + "/" + name);
        ASSERT_FALSE(expected.isEmpty()) << "the reference read-back " << name.toStdString() << " cannot be read";
        const QString difference = firstDifference(expected, actual);
        EXPECT_TRUE(difference.isEmpty()) << name.toStdString() << " differs at " << difference.toStdString();
    }
};

TEST_F(ReferenceScheduleTest, TheReferenceRosterReadsBackThroughXlrdAsItDidWhenTheReferenceWasTaken)
{
    const QString path = exportRoster();
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral(ROSTELLE_XLS_INTEROP_DIR "/xlrd_dump.py"), QStringLiteral("--runs"), path});
    ASSERT_TRUE(python.waitForFinished(60000));
    ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    const QJsonObject actual = QJsonDocument::fromJson(python.readAllStandardOutput()).object();
    EXPECT_EQ(actual["log"].toString(), "") << "xlrd warned";
    compareWithReference(actual, "expected-xlrd.json");
}

TEST_F(ReferenceScheduleTest, TheReferenceRosterReadsBackThroughOurReaderAsItDidWhenTheReferenceWasTaken)
{
    const QString path = exportRoster();
    const auto book = sheet::xls::readWorkbook(path.toStdString());
    ASSERT_TRUE(book);
    compareWithReference(readerDump(*book), "expected-reader.json");
}

}  // namespace
