// Reading a store's location; libpq itself reads the connection URIs, so every form it accepts
// (percent-encoded parts, several hosts, parameters after "?") means what it means to libpq.
// Also where a connection text loses its password before any message quotes it.
#include "store/Location.h"

#include "store/LibPq.h"
#include "store/StoreError.h"

#include <QRegularExpression>
#include <QUrl>


#include <algorithm>
#include <memory>
#include <optional>

namespace store {
namespace {

const QString kMask = QStringLiteral("***");

// user:password@ after a scheme, up to the last "@" of the stretch: libpq ends a password at the
// first "@" before a "/", so a password holding "/" or "@" reaches further than libpq reads it.
const QRegularExpression& userinfoPassword()
{
    static const QRegularExpression pattern(QStringLiteral(R"(([a-z][a-z0-9+.\-]*://[^\s"/@:?\[]*):([^\s"]*)@)"),
                                            QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

// password=value in a URI's query or in libpq's keyword form; libpq decodes a query's keywords,
// so a letter may be percent-encoded.
const QRegularExpression& keywordPassword()
{
    static const QRegularExpression pattern(
        QStringLiteral(R"(((?:p|%[57]0)(?:a|%[46]1)(?:s|%[57]3)(?:s|%[57]3)(?:w|%[57]7)(?:o|%[46]f)(?:r|%[57]2))"
                       R"((?:d|%[46]4)\s*=\s*)('(?:[^'\\]|\\.)*'?|[^&\s"']*))"),
        QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

// scheme://user:pass with nothing after it: the settings file ends a value at a ";", so
// "user:pa;ss@host" arrives as "user:pa", which libpq reads as a host and a port.
const QRegularExpression& cutPassword()
{
    static const QRegularExpression pattern(
        QStringLiteral(R"(([a-z][a-z0-9+.\-]*://[^\s"/@:?\[]*):([^\s"/?@,]*[^\s"/?@,0-9][^\s"/?@,]*)(?=$|[\s"]))"),
        QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

const QRegularExpression& quotedField()
{
    static const QRegularExpression pattern(QStringLiteral(R"("[^"]*")"));
    return pattern;
}

void collect(const QRegularExpression& pattern, int group, const QString& text, QStringList& into)
{
    static const QRegularExpression splits(QStringLiteral("[@/]"));
    for (auto match = pattern.globalMatch(text); match.hasNext();) {
        const QString found = match.next().captured(group);
        // libpq may read the parts of a password holding "@" or "/" as other fields.
        into << found << found.split(splits);
        if (found.size() >= 2 && found.startsWith(QLatin1Char('\'')))
            into << found.mid(1, found.endsWith(QLatin1Char('\'')) ? found.size() - 2 : -1);
        into << QUrl::fromPercentEncoding(found.toUtf8());
    }
}

// The keywords and values libpq reads from a URI or a keyword text; nullopt when it cannot read it.
std::optional<std::vector<std::pair<QString, QString>>> libpqReading(const QString& text, QString* reason = nullptr)
{
    if (const QString failure = libpq::loadFailure(); !failure.isEmpty()) {
        if (reason)
            *reason = failure;
        return std::nullopt;
    }
    char* error = nullptr;
    const std::unique_ptr<PQconninfoOption, void (*)(PQconninfoOption*)> options(
        libpq::conninfoParse(text.trimmed().toUtf8().constData(), &error), libpq::conninfoFree);
    if (!options) {
        if (reason)
            *reason = error ? QString::fromUtf8(error).trimmed() : QStringLiteral("it cannot be read");
        libpq::freemem(error);
        return std::nullopt;
    }
    std::vector<std::pair<QString, QString>> given;
    for (const PQconninfoOption* option = options.get(); option->keyword; ++option) {
        if (option->val)
            given.emplace_back(QString::fromUtf8(option->keyword), QString::fromUtf8(option->val));
    }
    return given;
}

QString valueOf(const std::vector<std::pair<QString, QString>>& parameters, const char* keyword)
{
    for (const auto& [name, value] : parameters)
        if (name == QLatin1String(keyword))
            return value;
    return QString();
}

// A port libpq read where the text's user:password was: not a list of numbers, in a text whose
// userinfo reaches past the first "/" or was cut short.
bool portIsPassword(const QString& text, const QString& port)
{
    static const QRegularExpression ports(QStringLiteral("^[0-9,]*$"));
    return !ports.match(port).hasMatch() &&
           (userinfoPassword().match(text).hasMatch() || cutPassword().match(text).hasMatch());
}

}  // namespace

QString withoutPassword(const QString& text)
{
    QString shown = text;
    shown.replace(userinfoPassword(), QStringLiteral("\\1:") + kMask + QLatin1Char('@'));
    shown.replace(keywordPassword(), QStringLiteral("\\1") + kMask);
    shown.replace(cutPassword(), QStringLiteral("\\1:") + kMask);
    return shown;
}

Location::Location(Engine engine, QString text, Access access)
    : engine_(engine), text_(std::move(text)), access_(access)
{
}

Location Location::file(const QString& path, Access access) { return Location(Engine::SQLite, path, access); }

Location Location::server(const QString& uri, Access access) { return Location(Engine::PostgreSQL, uri, access); }

Location Location::withAccess(Access access) const { return Location(engine_, text_, access); }

std::vector<std::pair<QString, QString>> Location::serverParameters() const
{
    const QString trimmed = text_.trimmed();
    if (!trimmed.startsWith(QLatin1String("postgresql://")) && !trimmed.startsWith(QLatin1String("postgres://")))
        throw StoreError(QStringLiteral("\"%1\" is not a PostgreSQL connection URI "
                                        "(postgresql://user@host:port/database).")
                             .arg(shownText()));
    QString reason;
    auto given = libpqReading(trimmed, &reason);
    if (!given)
        throw StoreError(
            QStringLiteral("The connection URI \"%1\" cannot be used: %2").arg(shownText(), withoutPassword(reason)));
    return std::move(*given);
}

QStringList Location::secrets() const
{
    if (engine_ != Engine::PostgreSQL)
        return {};
    QStringList found;
    collect(userinfoPassword(), 2, text_, found);
    collect(keywordPassword(), 2, text_, found);
    collect(cutPassword(), 2, text_, found);
    if (const auto given = libpqReading(text_)) {
        found << valueOf(*given, "password");
        const QString port = valueOf(*given, "port");
        if (portIsPassword(text_, port))
            found << port;
    }
    found.removeAll(QString());
    found.removeAll(kMask);
    found.removeDuplicates();
    // The longest first, so that a part of a password never leaves the rest of it behind.
    std::sort(found.begin(), found.end(), [](const QString& a, const QString& b) { return a.size() > b.size(); });
    return found;
}

bool Location::carriesPassword() const
{
    if (engine_ != Engine::PostgreSQL)
        return false;
    if (const auto given = libpqReading(text_))
        return !valueOf(*given, "password").isEmpty() || portIsPassword(text_, valueOf(*given, "port"));
    return store::withoutPassword(text_) != text_;
}

QString Location::shownText() const { return withoutPassword(text_); }

QString Location::withoutPassword(const QString& message) const
{
    // A text libpq reads without a password has none to hide, whatever it looks like.
    if (engine_ != Engine::PostgreSQL || (!carriesPassword() && libpqReading(text_)))
        return message;
    QString shown = store::withoutPassword(message);
    // A short password is masked only where libpq quotes a field, so that the words around it
    // stay readable; a longer one wherever it appears.
    constexpr qsizetype kMaskedAnywhere = 4;
    for (const QString& secret : secrets()) {
        if (secret.size() >= kMaskedAnywhere) {
            shown.replace(secret, kMask);
            continue;
        }
        QString masked;
        qsizetype from = 0;
        for (auto match = quotedField().globalMatch(shown); match.hasNext();) {
            const auto field = match.next();
            masked += shown.mid(from, field.capturedStart() - from);
            masked += field.captured().replace(secret, kMask);
            from = field.capturedEnd();
        }
        shown = masked + shown.mid(from);
    }
    return shown;
}

QString Location::displayName() const
{
    if (engine_ == Engine::SQLite)
        return text_;
    QString database;
    QString host;
    QString user;
    QString port;
    try {
        for (const auto& [keyword, value] : serverParameters()) {
            if (keyword == QLatin1String("dbname"))
                database = value;
            else if (keyword == QLatin1String("host"))
                host = value;
            else if (keyword == QLatin1String("user"))
                user = value;
            else if (keyword == QLatin1String("port"))
                port = value;
        }
    } catch (const StoreError&) {
        return shownText();
    }
    // A password libpq read as the port leaves its user as the host and its rest in the database.
    if (portIsPassword(text_, port))
        return shownText();
    // libpq's defaults: the database named after the user, the server on this computer.
    if (database.isEmpty())
        database = user.isEmpty() ? QStringLiteral("the default database") : user;
    // A password holding "@" leaves its rest in the host.
    if (host.isEmpty() || host.startsWith(QLatin1Char('/')) || host.startsWith(QLatin1Char('@')))
        return withoutPassword(database + QStringLiteral(" on this computer"));
    return withoutPassword(database + QStringLiteral(" on ") + host);
}

}  // namespace store
