# Sanitizer and fuzzing builds, for every target of the project.
#
# TOLLIVAR_SANITIZE: a comma-separated list of "address" and "undefined".
# Under clang, "undefined" also turns on integer checks GCC does not have
# (see below). Every check stops the program at its first report, whatever
# the environment says.
# TOLLIVAR_ASAN=ON: the same as TOLLIVAR_SANITIZE=address.
# TOLLIVAR_FUZZ=ON (clang only): builds the libFuzzer targets of fuzz/ and
# instruments every library for coverage; it needs address and undefined.

set(TOLLIVAR_SANITIZE "" CACHE STRING "Sanitizers to build with: address, undefined or address,undefined")
option(TOLLIVAR_ASAN "Build with AddressSanitizer (same as TOLLIVAR_SANITIZE=address)" OFF)
option(TOLLIVAR_FUZZ "Build the libFuzzer targets in fuzz/ (clang, with address,undefined)" OFF)

set(tollivar_sanitizers ${TOLLIVAR_SANITIZE})
string(REPLACE "," ";" tollivar_sanitizers "${tollivar_sanitizers}")
if(TOLLIVAR_ASAN)
    list(APPEND tollivar_sanitizers address)
endif()
if(TOLLIVAR_FUZZ)
    list(APPEND tollivar_sanitizers address undefined)
endif()
list(REMOVE_DUPLICATES tollivar_sanitizers)
foreach(sanitizer ${tollivar_sanitizers})
    if(NOT sanitizer MATCHES "^(address|undefined)$")
        message(FATAL_ERROR "TOLLIVAR_SANITIZE: unknown sanitizer \"${sanitizer}\" (address, undefined)")
    endif()
endforeach()

set(clang OFF)
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    set(clang ON)
endif()
if(TOLLIVAR_FUZZ AND NOT clang)
    message(FATAL_ERROR "TOLLIVAR_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++-14")
endif()

if(tollivar_sanitizers)
    set(checks ${tollivar_sanitizers})
    if(clang AND "undefined" IN_LIST tollivar_sanitizers)
        # Beyond clang's "undefined" (which already has signed overflow,
        # shifts, float-to-int overflow, bounds, enum, bool and vptr):
        # - implicit-integer-truncation: a wider integer stored into a
        #   narrower one loses its value (a file's 64-bit size or a pixel
        #   count into an int, a sum into a byte);
        # - float-divide-by-zero: a zero page or block size turns a scale
        #   into infinity, which the geometry then carries on silently.
        # Left out as too noisy for the faults they find: the sign-change
        # check (Qt's int sizes meet std's size_t everywhere) and unsigned
        # overflow (hashes and OpenCV wrap on purpose).
        list(APPEND checks implicit-integer-truncation float-divide-by-zero)
    endif()
    list(JOIN checks "," checks)
    add_compile_options(-fsanitize=${checks} -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=${checks})
endif()

if(TOLLIVAR_FUZZ)
    # Coverage for libFuzzer in every library; only the fuzz targets link
    # its main.
    add_compile_options(-fsanitize=fuzzer-no-link)
    add_link_options(-fsanitize=fuzzer-no-link)
endif()
