#include "cli/terminal_output.h"

#include <unistd.h>

namespace dorvane::cli {
namespace {

QString withUnixLineBreaks(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

}  // namespace

TerminalOutput::TerminalOutput(std::FILE* stream)
    : stream_(stream), terminal_(isatty(fileno(stream)) == 1) {}

void TerminalOutput::message(const QString& text) {
    endRewrittenLine();
    std::fprintf(stream_, "%s\n", withUnixLineBreaks(text).toUtf8().constData());
    std::fflush(stream_);
}

void TerminalOutput::rewriteLine(const QString& text) {
    if (!terminal_) return;
    // Back to the line's start and clear it.
    std::fprintf(stream_, "\r\x1b[K%s", text.toUtf8().constData());
    std::fflush(stream_);
    lineOpen_ = true;
}

void TerminalOutput::finishLine(const QString& text) {
    if (lineOpen_) std::fputs("\r\x1b[K", stream_);
    lineOpen_ = false;
    std::fprintf(stream_, "%s\n", text.toUtf8().constData());
    std::fflush(stream_);
}

void TerminalOutput::endRewrittenLine() {
    if (!lineOpen_) return;
    std::fputc('\n', stream_);
    lineOpen_ = false;
}

}  // namespace dorvane::cli
