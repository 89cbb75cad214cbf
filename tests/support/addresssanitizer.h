#pragma once

// TOLLIVAR_UNDER_ASAN is 1 in a build with AddressSanitizer: GCC says so
// with a macro of its own, clang through __has_feature.

#if defined(__SANITIZE_ADDRESS__)
#define TOLLIVAR_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TOLLIVAR_UNDER_ASAN 1
#endif
#endif
#ifndef TOLLIVAR_UNDER_ASAN
#define TOLLIVAR_UNDER_ASAN 0
#endif
