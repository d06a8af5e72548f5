#pragma once
void paint(class QWidget* on);
