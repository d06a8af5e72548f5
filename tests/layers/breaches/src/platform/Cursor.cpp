#include <QCursor>
