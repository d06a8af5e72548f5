#pragma once
class QTableWidget;
