#pragma once
// Every file under a folder with its bytes, for before-and-after comparisons.
#include <QByteArray>
#include <QDirIterator>
#include <QFile>
#include <QString>

#include <map>

inline std::map<QString, QByteArray> FileTree(const QString &root)
{
    std::map<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        files[path] = f.readAll();
    }
    return files;
}
