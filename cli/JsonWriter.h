#pragma once
// A small JSON writer that keeps members in the order they are written (QJsonObject sorts them).
#include <QByteArray>
#include <QString>

#include <vector>

class JsonWriter {
public:
    // `inlineDepth`: objects and arrays nested at least this deep are written on one line.
    explicit JsonWriter(int inlineDepth = 2) : inlineDepth_(inlineDepth) {}

    JsonWriter &BeginObject(const char *key = nullptr);
    JsonWriter &EndObject();
    JsonWriter &BeginArray(const char *key = nullptr);
    JsonWriter &EndArray();
    JsonWriter &Value(const char *key, const QString &text);
    JsonWriter &Value(const char *key, qint64 number);
    JsonWriter &Boolean(const char *key, bool value);
    // The shortest decimal that reads back as the same single; null when not finite.
    JsonWriter &Value(const char *key, float number);

    const QByteArray &Text() const { return out_; }

private:
    void Member(const char *key);
    void Open(const char *key, char bracket);
    void Close(char bracket);

    QByteArray out_;
    std::vector<bool> first_; // per open level: nothing written in it yet
    int inlineDepth_;
};
