#pragma once
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QString>
#include <gtest/gtest.h>

#include <ostream>

// Readable texts in test failures and their messages.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
inline std::ostream& operator<<(std::ostream& out, const QString& text) { return out << text.toStdString(); }

namespace testing_support {

// Writes a file as raw bytes, making its folder first; returns the path.
inline QString writeBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size())
        << path.toStdString();
    return path;
}

// A file's bytes; "<missing>" when it cannot be read, so a missing file never passes for
// an empty one.
inline QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Puts program-wide settings back as they were when the test ends.
class KeptValues {
public:
    KeptValues(std::initializer_list<QString*> values) {
        for (QString* value : values) kept_.append({value, *value});
    }
    ~KeptValues() {
        for (const auto& [where, value] : kept_) *where = value;
    }
    KeptValues(const KeptValues&) = delete;
    KeptValues& operator=(const KeptValues&) = delete;

private:
    QList<std::pair<QString*, QString>> kept_;
};

}  // namespace testing_support
