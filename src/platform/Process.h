#pragma once
#include <QString>
#include <QStringList>

namespace platform {

// Starts programs without waiting for them, as the system does. The program's context is
// given this one; tests give one that records the starts instead.
class ProcessStarter {
public:
    virtual ~ProcessStarter() = default;
    // False when the program could not be started.
    virtual bool startDetached(const QString& program, const QStringList& arguments);
};

}  // namespace platform
