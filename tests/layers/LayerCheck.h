#pragma once
#include <QMap>
#include <QString>
#include <QStringList>

// The layers of the sources: platform, then core (no widget), then gui, then the program's
// main; inside core the folders record, catalogues, program, domains, commands, inside gui
// frame, commands, domains, record, catalogues, app, each depending only on those before it.
namespace layerCheck {

// The texts of the source files, by their path under src/ ("core/record/Record.h").
using Sources = QMap<QString, QString>;

// Every breach, one line each: an include of a higher layer or a later folder, a widget
// header or class in core, a cycle of includes. Empty when the sources keep their layers.
QStringList violations(const Sources& sources);

// The files under a folder (src/), read as the check reads them.
Sources readSources(const QString& folder);

}  // namespace layerCheck
