#pragma once
class QPainter;
