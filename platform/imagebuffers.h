#pragma once

namespace platform {

// Lets the C library keep page-sized picture buffers for reuse. Every frame
// on a page makes and drops several pictures of tens of megabytes; by
// default glibc maps each one fresh and hands it back on release, so every
// frame pays again for faulting in a hundred megabytes or more. Call once,
// at start, before the first picture. Nothing where the C library is not glibc.
void keepImageBuffers();

} // namespace platform
