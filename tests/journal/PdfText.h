#pragma once

#include <QString>
#include <QStringList>

// The text of a PDF file as pdftotext (poppler-utils, installed by scripts/install-deps) reads
// it, one entry per page. With the layout kept, a table row reads as one line. Empty, with a
// test failure, when the file cannot be read.
QStringList pdfPages(const QString& path);

// The text with every run of blanks made one space, so that a test need not know how wide the
// columns came out.
QString squeezed(const QString& text);
