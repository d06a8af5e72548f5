#pragma once
#include <QString>

#include <optional>

// Secrets kept in the desktop's keyring (the Secret Service), when one is running. Each
// secret is named by the settings folder it belongs to and its own name, so two settings
// folders never share one.
namespace platform {

struct SecretRead {
    bool keyring = false;  // a keyring answered
    std::optional<QString> value;  // nullopt when it holds no such secret
};

SecretRead readSecret(const QString& name);
// False when no keyring took it (none runs, or it refused).
bool writeSecret(const QString& name, const QString& value);

}  // namespace platform
