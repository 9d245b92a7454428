#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>

// Windows-1251, the single-byte Cyrillic code page of the laboratory's texts and results file.
namespace Cp1251 {
// The code of a character; characters the code page cannot hold give '?' (63).
unsigned char encodeChar(QChar c);
QChar decodeChar(unsigned char code);
// Characters the code page cannot hold become '?'.
QByteArray encode(const QString& text);
QString decode(const QByteArray& bytes);
}  // namespace Cp1251
