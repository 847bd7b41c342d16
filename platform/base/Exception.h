#pragma once
// The base of every error the program raises: a Polish message for the user, nothing else.
#include <QString>
#include <exception>

class Exception : public std::exception {
public:
    explicit Exception(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}
    const QString &Message() const { return message_; }
    const char *what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
};

// Errors of the stream primitives (a short read gives "Stream read error").
class EStreamError : public Exception {
public:
    using Exception::Exception;
};

// A picture the graphics layer cannot build ("Metafile is not valid").
class EInvalidGraphic : public Exception {
public:
    using Exception::Exception;
};

// The user's cancellation: unwinds like an error, never shown.
class EAbort : public Exception {
public:
    EAbort() : Exception(QStringLiteral("Operation aborted")) {}
};

inline const QString kMetafileNotValid = QStringLiteral("Metafile is not valid");
