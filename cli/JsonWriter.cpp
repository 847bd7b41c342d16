#include "cli/JsonWriter.h"

#include <charconv>
#include <cmath>

namespace {

QByteArray Quoted(const QString &text)
{
    QByteArray out("\"");
    for (const char c : text.toUtf8()) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20)
                out +=
                    QByteArray("\\u00") + QByteArray::number(static_cast<unsigned char>(c), 16).rightJustified(2, '0');
            else
                out += c;
        }
    }
    return out + '"';
}

} // namespace

void JsonWriter::Member(const char *key)
{
    if (first_.empty())
        return;
    const bool oneLine = static_cast<int>(first_.size()) > inlineDepth_;
    if (!first_.back())
        out_ += oneLine ? ", " : ",";
    first_.back() = false;
    if (!oneLine)
        out_ += "\n" + QByteArray(2 * static_cast<int>(first_.size()), ' ');
    if (key)
        out_ += Quoted(QString::fromUtf8(key)) + ": ";
}

void JsonWriter::Open(const char *key, char bracket)
{
    Member(key);
    out_ += bracket;
    first_.push_back(true);
}

void JsonWriter::Close(char bracket)
{
    const bool empty = first_.back();
    const bool oneLine = static_cast<int>(first_.size()) > inlineDepth_;
    first_.pop_back();
    if (!empty && !oneLine)
        out_ += "\n" + QByteArray(2 * static_cast<int>(first_.size()), ' ');
    out_ += bracket;
    if (first_.empty())
        out_ += '\n';
}

JsonWriter &JsonWriter::BeginObject(const char *key)
{
    Open(key, '{');
    return *this;
}

JsonWriter &JsonWriter::EndObject()
{
    Close('}');
    return *this;
}

JsonWriter &JsonWriter::BeginArray(const char *key)
{
    Open(key, '[');
    return *this;
}

JsonWriter &JsonWriter::EndArray()
{
    Close(']');
    return *this;
}

JsonWriter &JsonWriter::Value(const char *key, const QString &text)
{
    Member(key);
    out_ += Quoted(text);
    return *this;
}

JsonWriter &JsonWriter::Value(const char *key, qint64 number)
{
    Member(key);
    out_ += QByteArray::number(number);
    return *this;
}

JsonWriter &JsonWriter::Value(const char *key, float number)
{
    Member(key);
    if (!std::isfinite(number)) {
        out_ += "null";
        return *this;
    }
    char buf[32];
    const auto end = std::to_chars(buf, buf + sizeof buf, number).ptr;
    out_ += QByteArray(buf, static_cast<qsizetype>(end - buf));
    return *this;
}

JsonWriter &JsonWriter::Boolean(const char *key, bool value)
{
    Member(key);
    out_ += value ? "true" : "false";
    return *this;
}
