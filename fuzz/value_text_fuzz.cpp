// The text forms of values: no crash for any parts, literals that read back as the text,
// SQL Server timestamps within half a millisecond, times that read back exactly.

#include <QRegularExpression>
#include <chrono>

#include "db/values/money_text.h"
#include "db/values/time_text.h"
#include "fuzz_check.h"
#include "fuzz_input.h"
#include "sql/general_value_text.h"
#include "sql/value_text.h"

using namespace dorvane;
using namespace dorvane::fuzz;

namespace {

db::DateTimeParts anyParts(FuzzedDataProvider& in) {
    db::DateTimeParts p;
    p.year = in.ConsumeIntegral<int>();
    p.month = in.ConsumeIntegral<int>();
    p.day = in.ConsumeIntegral<int>();
    p.hour = in.ConsumeIntegral<int>();
    p.minute = in.ConsumeIntegral<int>();
    p.second = in.ConsumeIntegral<int>();
    p.nanosecond = in.ConsumeIntegral<int>();
    return p;
}

db::DateTimeParts validParts(FuzzedDataProvider& in) {
    using namespace std::chrono;
    db::DateTimeParts p;
    p.year = in.ConsumeIntegralInRange(1, 9999);
    p.month = in.ConsumeIntegralInRange(1, 12);
    const year_month_day_last last{year{p.year} / month{static_cast<unsigned>(p.month)} /
                                   std::chrono::last};
    p.day = in.ConsumeIntegralInRange(1, static_cast<int>(static_cast<unsigned>(last.day())));
    p.hour = in.ConsumeIntegralInRange(0, 23);
    p.minute = in.ConsumeIntegralInRange(0, 59);
    p.second = in.ConsumeIntegralInRange(0, 59);
    p.nanosecond = in.ConsumeIntegralInRange(0, 999'999'999);
    return p;
}

// Whole seconds since the epoch; nanoseconds would overflow outside 1678 to 2262.
std::chrono::sys_seconds secondOf(const db::DateTimeParts& p) {
    using namespace std::chrono;
    return sys_days{year{p.year} / month{static_cast<unsigned>(p.month)} /
                    day{static_cast<unsigned>(p.day)}} +
           hours{p.hour} + minutes{p.minute} + seconds{p.second};
}

void checkTimestampText(const db::DateTimeParts& p) {
    static const QRegularExpression form(QStringLiteral(
        "^(\\d{4,5})-(\\d\\d)-(\\d\\d)T(\\d\\d):(\\d\\d):(\\d\\d)(?:\\.(\\d{3}))?$"));
    const QString text = sql::sqlServerTimestampText(p);
    const auto m = form.match(text);
    require(m.hasMatch(), "timestamp text has the DATETIME form", text);
    db::DateTimeParts back;
    back.year = m.captured(1).toInt();
    back.month = m.captured(2).toInt();
    back.day = m.captured(3).toInt();
    back.hour = m.captured(4).toInt();
    back.minute = m.captured(5).toInt();
    back.second = m.captured(6).toInt();
    back.nanosecond = m.captured(7).isEmpty() ? 0 : m.captured(7).toInt() * 1'000'000;
    const long long seconds = (secondOf(back) - secondOf(p)).count();
    require(seconds >= -1 && seconds <= 1, "timestamp within a second", text);
    const long long difference = seconds * 1'000'000'000LL + back.nanosecond - p.nanosecond;
    require(difference >= -500'000 && difference < 500'000,
            "timestamp rounded to the nearest millisecond", text);
}

void checkTimeRoundTrip(db::DateTimeParts p) {
    p.year = p.month = p.day = 0;
    p.nanosecond -= p.nanosecond % 100;  // the finest a time column holds
    const QString text = sql::valueText(db::Value::time(p));
    const std::string latin = text.toStdString();
    db::DateTimeParts back;
    try {
        back = db::parseTimeText(latin);
    } catch (const std::exception& e) {
        require(false, "a time's text reads back", text);
    }
    require(back == p, "a time reads back exactly", text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);

    // Whatever parts a value holds, its text is made without overrunning anything.
    const db::DateTimeParts any = anyParts(in);
    (void)sql::valueText(db::Value::date(any));
    (void)sql::valueText(db::Value::time(any));
    (void)sql::valueText(db::Value::timestamp(any));

    const db::DateTimeParts valid = validParts(in);
    checkTimestampText(valid);
    checkTimeRoundTrip(valid);

    const db::Value v = value(in);
    (void)sql::valueText(v);
    (void)sql::sqlServerValueText(v);
    try {
        sql::checkExactValueFits(
            v, {in.ConsumeIntegralInRange(1, 38), in.ConsumeIntegralInRange(0, 38)});
    } catch (const std::runtime_error&) {
    }

    const QString s = text(in, 300);
    static const QRegularExpression moneyForm(QStringLiteral("^-?[0-9.]*$"));
    require(moneyForm.match(db::normaliseMoneyText(s)).hasMatch(), "money text is plain digits",
            db::normaliseMoneyText(s));

    QString pg;
    sql::appendPostgresLiteral(pg, s);
    requireTokens(pg, Dialect::Postgres, {literal(s, s.contains(u'\\'))});
    QString ms = QStringLiteral("'");
    sql::appendWithQuotesDoubled(ms, s);
    ms += u'\'';
    requireTokens(ms, Dialect::SqlServer, {literal(s)});
    return 0;
}
