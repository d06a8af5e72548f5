#include <QtWidgets/QComboBox>
