#include "db/bulk/libpq_parameters.h"

#include <libpq-fe.h>

#include <memory>

#include "db/values/connection_string_items.h"
#include "db/values/db_error.h"

namespace dorvane::db {
namespace {

struct OdbcKeyword {
    const char* libpq;
    const char16_t* odbc;
    const char16_t* longOdbc;  // null when there is none
};

constexpr OdbcKeyword kKeywords[] = {
    {"host", u"Server", u"Servername"}, {"port", u"Port", nullptr},
    {"dbname", u"Database", nullptr},   {"user", u"Uid", u"Username"},
    {"password", u"Pwd", u"Password"},  {"sslmode", u"SSLmode", nullptr},
};

struct OptionsFree {
    void operator()(PQconninfoOption* options) const { PQconninfoFree(options); }
};

// The options in a libpq conninfo string, as libpq itself reads them.
void appendConninfo(std::vector<LibpqParameter>& out, const QString& conninfo) {
    char* error = nullptr;
    const std::unique_ptr<PQconninfoOption, OptionsFree> options(
        PQconninfoParse(conninfo.toUtf8().constData(), &error));
    if (!options) {
        const QString reason = error ? QString::fromUtf8(error).trimmed() : QString();
        PQfreemem(error);
        throw DbError(QStringLiteral("The libpq options in pqopt cannot be read: ") + reason);
    }
    for (const PQconninfoOption* o = options.get(); o->keyword; ++o)
        if (o->val) out.push_back({o->keyword, o->val});
}

}  // namespace

std::vector<LibpqParameter> libpqParameters(const QString& odbcConnectionString) {
    const ConnectionItems items = ConnectionItems::parse(odbcConnectionString);
    std::vector<LibpqParameter> out;
    const QString pqopt = items.value(QStringLiteral("pqopt"));
    if (!pqopt.trimmed().isEmpty()) appendConninfo(out, pqopt);
    for (const OdbcKeyword& k : kKeywords) {
        QString key = QString::fromUtf16(k.odbc);
        if (!items.contains(key) && k.longOdbc) key = QString::fromUtf16(k.longOdbc);
        if (items.contains(key)) out.push_back({k.libpq, items.value(key).toUtf8()});
    }
    // COPY data is written in UTF-8.
    out.push_back({"client_encoding", "UTF8"});
    return out;
}

}  // namespace dorvane::db
