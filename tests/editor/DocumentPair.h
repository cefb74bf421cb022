#pragma once

#include <QByteArray>

// The two documents the kill test's child saves over one file in turn:
// large (a save takes a while), of different sizes and line ends, so any
// mix of the two shows.
namespace DocumentPair {

inline QByteArray First()
{
    return QByteArray("first document, LF line ends\n").repeated(200000); // 5.8 MB
}

inline QByteArray Second()
{
    return QByteArray("SECOND document with CR LF line ends\r\n").repeated(120000); // 4.6 MB
}

} // namespace DocumentPair
