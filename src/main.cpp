#include "app/Form1.h"
#include "platform/MsgBox.h"
#include "platform/RegistryStore.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvantil"));
    QApplication::setOrganizationName(QStringLiteral("Orvane Consulting"));

    platform::setStoreNoticeHandler([](const QString& message) {
        platform::MsgBox(message, platform::vbExclamation);
    });

    Form1 window;
    window.show();
    return app.exec();
}
