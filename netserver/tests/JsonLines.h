#pragma once

#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <string>

// The objects of the complete lines of text, each ended by CR LF; an empty object for a line that
// is no JSON object.
inline QList<QJsonObject> JsonLines(const std::string& text)
{
    QList<QJsonObject> objects;
    for (std::size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        objects << QJsonDocument::fromJson(QByteArray::fromStdString(text.substr(start, end - start))).object();
    return objects;
}

// Their classes; "?" for a line that is no JSON object.
inline QStringList Classes(const std::string& text)
{
    QStringList classes;
    for (const QJsonObject& object : JsonLines(text))
        classes << object.value("class").toString("?");
    return classes;
}
