#include "app/qt/file_filters.h"

#include <cstring>

namespace {

QString CaseBlindPattern(const QString& pattern) {
    QString blind;
    for (const QChar c : pattern) {
        if (c.isLetter() && c.toLower() != c.toUpper())
            blind += QLatin1Char('[') + c.toLower() + c.toUpper() + QLatin1Char(']');
        else
            blind += c;
    }
    return blind;
}

} // namespace

QStringList NameFiltersFromWindows(const char* filter) {
    QStringList filters;
    if (!filter) return filters;
    while (*filter) {
        const QString name = QString::fromLocal8Bit(filter);
        filter += std::strlen(filter) + 1;
        if (!*filter) break; // a name without patterns ends the list
        QStringList patterns;
        for (const QString& pattern : QString::fromLocal8Bit(filter).split(QLatin1Char(';'), Qt::SkipEmptyParts))
            patterns += CaseBlindPattern(pattern.trimmed());
        filter += std::strlen(filter) + 1;
        filters += name + QLatin1String(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters;
}
