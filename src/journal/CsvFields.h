#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>

// The fields of the journal's spreadsheet files, written one way for every export.

// A cell a spreadsheet program would take for a formula (one that starts with '=', '+', '-',
// '@', a tab or a carriage return) gets a leading apostrophe, which such programs read as "text
// follows": a surname typed as a formula stays a surname in the teacher's table.
QString neutralisedCell(const QString& text);

// One record: the cells neutralised, joined by separator, a field in double quotes (quotes
// doubled) when it holds the separator, a quote or a line break, and CRLF at the end; UTF-8.
QByteArray csvRecord(const QStringList& cells, QChar separator);
