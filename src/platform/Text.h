// The framework's text functions. Character positions and field numbers count from 1.
#pragma once

#include <QString>

namespace platform {

QString Mid(const QString& s, int start);
QString Mid(const QString& s, int start, int length);
QString Left(const QString& s, int count);
QString Right(const QString& s, int count);
int Len(const QString& s);
// Position of the first occurrence of find (case-insensitive), 0 when absent or find is empty.
int InStr(const QString& s, const QString& find);
int InStr(int start, const QString& s, const QString& find);
// As InStr, but comparing exactly (case-sensitive).
int InStrB(const QString& s, const QString& find);
int InStrB(int start, const QString& s, const QString& find);
// Field n of s split at separator; "" when there is no such field.
QString NthField(const QString& s, const QString& separator, int n);
// Code of the first character; 0 for an empty text.
int Asc(const QString& s);
// The character with this code; "" for a code that is no character.
QString Chr(int code);
// Replaces the first occurrence only (case-insensitive).
QString Replace(const QString& s, const QString& oldText, const QString& newText);
// Upper-case hexadecimal digits of the value's 32-bit pattern.
QString Hex(qint64 value);

} // namespace platform
