#include "cli/progress_line.h"

#include <QRegularExpression>

namespace dorvane::cli {
namespace {

const QString kRestingText = QStringLiteral("Progress Bar");
// A terminal line is rewritten at most this often.
constexpr qint64 kRewriteMilliseconds = 100;

// The rows sent, from "TABLE: 1 234 of 5 000 rows…".
qint64 rowsSentIn(const QString& rowsText) {
    static const QRegularExpression kSent(QStringLiteral(": ([0-9 ]+) of [0-9 ]+ rows"));
    QRegularExpressionMatch last;
    for (const QRegularExpressionMatch& match : kSent.globalMatch(rowsText)) last = match;
    return last.hasMatch() ? last.captured(1).remove(u' ').toLongLong() : 0;
}

QString elapsedText(qint64 milliseconds) {
    const qint64 seconds = milliseconds / 1000;
    QString text = QStringLiteral("%1:%2")
                       .arg(seconds / 60 % 60, seconds >= 3600 ? 2 : 1, 10, QChar(u'0'))
                       .arg(seconds % 60, 2, 10, QChar(u'0'));
    if (seconds >= 3600) text.prepend(QString::number(seconds / 3600) + u':');
    return text;
}

}  // namespace

ProgressLine::ProgressLine(TerminalOutput& output) : output_(output), text_(kRestingText) {
    table_.start();
}

void ProgressLine::setText(const QString& text) {
    text_ = text;
    if (text == kRestingText) {
        const QString table = onTableEnded ? onTableEnded() : QString();
        output_.finishLine(withRateAndTime(
            rowsText_.isEmpty() ? table + QStringLiteral(": no rows sent") : rowsText_));
        rowsText_.clear();
        table_.restart();
        return;
    }
    rowsText_ = text;
    if (lastRewrite_.isValid() && lastRewrite_.elapsed() < kRewriteMilliseconds) return;
    output_.rewriteLine(withRateAndTime(text));
    lastRewrite_.restart();
}

QString ProgressLine::withRateAndTime(const QString& rowsText) const {
    const qint64 milliseconds = table_.elapsed();
    const qint64 rate = milliseconds > 0 ? rowsSentIn(rowsText) * 1000 / milliseconds : 0;
    return rowsText + QStringLiteral(", %1 rows/s, %2").arg(rate).arg(elapsedText(milliseconds));
}

}  // namespace dorvane::cli
