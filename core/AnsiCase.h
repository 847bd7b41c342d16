#pragma once
// Upper-casing in the host's ANSI code page (Windows-1250), as style names are compared.
#include <QByteArray>
#include <QByteArrayView>

quint8 AnsiUpper(quint8 c);
QByteArray AnsiUpperCase(QByteArrayView text);
// Equal after upper-casing both in Windows-1250.
bool AnsiSameText(QByteArrayView a, QByteArrayView b);
