#pragma once

namespace velmora {

// Lets pending window events (repaints, clicks) be handled before a long loop goes on.
void yieldToWindowSystem();

} // namespace velmora
