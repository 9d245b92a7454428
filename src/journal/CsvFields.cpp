#include "journal/CsvFields.h"

QString neutralisedCell(const QString& text) {
    if (text.isEmpty()) return text;
    switch (text.front().unicode()) {
        case '=':
        case '+':
        case '-':
        case '@':
        case '\t':
        case '\r':
            return QLatin1Char('\'') + text;
        default:
            return text;
    }
}

namespace {
QString quotedField(const QString& text, QChar separator) {
    if (!text.contains(separator) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}
}  // namespace

QByteArray csvRecord(const QStringList& cells, QChar separator) {
    QStringList fields;
    fields.reserve(cells.size());
    for (const QString& cell : cells) fields.append(quotedField(neutralisedCell(cell), separator));
    return fields.join(separator).toUtf8() + "\r\n";
}
