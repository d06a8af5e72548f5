// What the edit panel shows for a line's encoding scheme.
#include "app/Form1.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>

void Form1::fillContentFromScheme(const QString& scheme, const QString& content) {
    const bool date = scheme.contains(QLatin1String("ISO 8601"), Qt::CaseInsensitive) ||
                      scheme.contains(QLatin1String("ISO8601"), Qt::CaseInsensitive) ||
                      scheme.contains(QLatin1String("DCMIPeriod"), Qt::CaseInsensitive);
    QWidget* dates = editDateBoxes;
    if (!date) {
        dates->hide();
        editNrmlContent->show();
        editNrmlContent->setText(content);
        editNrmlContent->setCursorPosition(int(content.size()));
        return;
    }
    editNrmlContent->hide();
    dates->show();
    const QStringList parts = content.split(QLatin1Char('-'));
    QComboBox* boxes[] = {editDateyear, editDateMonth, editDateday};
    for (int i = 0; i < 3; ++i) boxes[i]->setEditText(i < parts.size() ? parts.at(i).trimmed() : QString());
}

bool Form1::loadScheme(QString& schemeName) {
    schemeName.remove(QLatin1Char('-'));
    schemeName.remove(QLatin1Char('.'));
    return false;
}
