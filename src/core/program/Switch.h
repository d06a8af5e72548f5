#pragma once
#include <QString>

#include <utility>

// A yes/no setting kept as the text it was stored with: "y", "yes" or "" are written back
// as they were read. Code asks it one of two ways, as each setting has always been read.
class Switch {
public:
    Switch() = default;
    explicit Switch(QString text) : text_(std::move(text)) {}

    // Exactly "Y".
    bool isY() const { return text_ == QLatin1String("Y"); }
    // Anything but "N" (an empty or unknown text counts as on).
    bool isNotN() const { return text_ != QLatin1String("N"); }

    const QString& text() const { return text_; }
    void setText(const QString& text) { text_ = text; }
    // "Y" or "N".
    void set(bool on) { text_ = on ? QStringLiteral("Y") : QStringLiteral("N"); }

    bool operator==(const Switch&) const = default;

private:
    QString text_;
};
