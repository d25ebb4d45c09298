#include "app/qt/message_text.h"

namespace {

constexpr QChar kZeroWidthSpace(0x200B);

QString WithBreaks(const QString& word) {
    QString broken;
    int sinceBreak = 0;
    for (const QChar c : word) {
        broken += c;
        if (c == '/' || c == '\\' || ++sinceBreak == kLongWord) {
            broken += kZeroWidthSpace;
            sinceBreak = 0;
        }
    }
    return broken;
}

} // namespace

QString WithBreaksInLongWords(const QString& text) {
    QString result;
    qsizetype start = 0;
    while (start < text.size()) {
        const bool space = text[start].isSpace();
        qsizetype end = start;
        while (end < text.size() && text[end].isSpace() == space) ++end;
        const QString run = text.mid(start, end - start);
        result += !space && run.size() > kLongWord ? WithBreaks(run) : run;
        start = end;
    }
    return result;
}
