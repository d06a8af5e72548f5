#pragma once
#include <QString>
#include <QStringList>

#include <functional>

namespace platform {

// Starts a program without waiting for it; false when it could not be started.
bool startDetached(const QString& program, const QStringList& arguments);

// Receives the starts instead of the system (tests). An empty starter restores the system.
using ProcessStarter = std::function<bool(const QString& program, const QStringList& arguments)>;
void setProcessStarter(ProcessStarter starter);

}  // namespace platform
