#include "Yield.h"

#include <QCoreApplication>

namespace velmora {

void yieldToWindowSystem() {
    QCoreApplication::processEvents();
}

} // namespace velmora
