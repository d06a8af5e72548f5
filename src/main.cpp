#include "app/modMetaMain.h"
#include "platform/MsgBox.h"
#include "platform/RegistryStore.h"

#include <QApplication>
#include <QStringList>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvantil"));
    QApplication::setOrganizationName(QStringLiteral("Orvane Consulting"));

    platform::setStoreNoticeHandler([](const QString& message) {
        platform::MsgBox(message, platform::vbExclamation);
    });

    // The whole command line after the program's name is one argument.
    QStringList words = QApplication::arguments();
    if (!words.isEmpty()) words.removeFirst();
    modMetaMain::Main(words.join(QLatin1Char(' ')));
    return app.exec();
}
