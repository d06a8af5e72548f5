// The layers of the sources, checked from their include lines and class declarations.
#include "layers/LayerCheck.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(Layers, TheSourcesKeepTheirLayers) {
    const layerCheck::Sources sources = layerCheck::readSources(QStringLiteral(QUORVANTIL_SOURCE_DIR "/src"));
    ASSERT_GT(sources.size(), 100);
    EXPECT_EQ(layerCheck::violations(sources).join(u'\n').toStdString(), "");
}

TEST(Layers, EveryKindOfBreachIsFound) {
    layerCheck::Sources sources = {
        {u"platform/Files.h"_s, u"#pragma once\n"_s},
        {u"core/record/Record.h"_s, u"#include \"platform/Files.h\"\n#include <QString>\n"_s},
        {u"core/program/Context.h"_s, u"#include \"core/record/Record.h\"\n"_s},
        {u"gui/record/Pane.h"_s, u"#include \"core/program/Context.h\"\n#include <QWidget>\nclass QMenu;\n"_s},
        {u"gui/app/Form.cpp"_s, u"#include \"gui/record/Pane.h\"\n"_s},
        {u"main.cpp"_s, u"#include \"gui/app/Form.cpp\"\n"_s},
    };
    EXPECT_EQ(layerCheck::violations(sources).join(u'\n').toStdString(), "");  // every include goes down or sideways

    sources[u"core/record/Record.cpp"_s] = u"#include \"gui/record/Pane.h\"\n"_s;  // core reaching gui
    sources[u"core/record/Line.h"_s] = u"#include \"core/program/Context.h\"\n"_s;  // a later folder of core
    sources[u"gui/record/Editor.h"_s] = u"#include \"gui/app/Form.cpp\"\n"_s;       // a later folder of gui
    sources[u"core/domains/Rules.cpp"_s] = u"#include <QtWidgets/QComboBox>\nclass QDialog;\n"_s;
    sources[u"core/domains/A.h"_s] = u"#include \"core/domains/B.h\"\n"_s;
    sources[u"core/domains/B.h"_s] = u"#include \"core/domains/A.h\"\n"_s;
    sources[u"core/tools/Helper.h"_s] = u"#pragma once\n"_s;  // a folder in no order
    EXPECT_EQ(layerCheck::violations(sources).join(u'\n').toStdString(),
              QStringList({u"cycle: core/domains/A.h -> core/domains/B.h -> core/domains/A.h"_s,
                           u"outside the layers' folders: core/tools/Helper.h"_s,
                           u"upward include: core/record/Line.h -> core/program/Context.h"_s,
                           u"upward include: core/record/Record.cpp -> gui/record/Pane.h"_s,
                           u"upward include: gui/record/Editor.h -> gui/app/Form.cpp"_s,
                           u"widget in core: core/domains/Rules.cpp declares QDialog"_s,
                           u"widget in core: core/domains/Rules.cpp includes <QtWidgets/QComboBox>"_s})
                  .join(u'\n')
                  .toStdString());
}

}  // namespace
