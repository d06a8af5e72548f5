#pragma once
#include <QtGlobal>

QT_FORWARD_DECLARE_CLASS(QMainWindow)
