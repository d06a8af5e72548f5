#include <gui/app/Form.h>
