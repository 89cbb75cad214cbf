#pragma once

// The catch-and-log frame of the checks' entry points. An entry point wraps
// its body, names its log label and level and the value it returns on
// failure, and no exception reaches the framing workflow:
//
//     return guardStandard("getChooseScore", LogFatal, -1, [&] {
//         ...
//         return 0;
//     });
//
// The record is the label immediately followed by the exception's text.
// Lower helpers catch nothing; what they raise reaches the entry point.

#include "model/infra/logger.h"

#include <opencv2/core.hpp>

#include <exception>
#include <utility>

// Only errors of the image library (cv::Exception).
template <typename Result, typename Body>
Result guardImageLibrary(const char* label, int level, Result failure, Body&& body)
{
    try {
        return std::forward<Body>(body)();
    } catch (const cv::Exception& e) {
        fileLogger(level) << label << e.what();
        return failure;
    }
}

// Any standard exception, image library errors included.
template <typename Result, typename Body>
Result guardStandard(const char* label, int level, Result failure, Body&& body)
{
    try {
        return std::forward<Body>(body)();
    } catch (const std::exception& e) {
        fileLogger(level) << label << e.what();
        return failure;
    }
}

// Image library errors first, then any other standard exception, both
// logged the same way.
template <typename Result, typename Body>
Result guardImageLibraryThenStandard(const char* label, int level, Result failure, Body&& body)
{
    try {
        return std::forward<Body>(body)();
    } catch (const cv::Exception& e) {
        fileLogger(level) << label << e.what();
        return failure;
    } catch (const std::exception& e) {
        fileLogger(level) << label << e.what();
        return failure;
    }
}

// The same frames without a record.
template <typename Result, typename Body>
Result guardImageLibrarySilently(Result failure, Body&& body)
{
    try {
        return std::forward<Body>(body)();
    } catch (const cv::Exception&) {
        return failure;
    }
}

template <typename Result, typename Body>
Result guardStandardSilently(Result failure, Body&& body)
{
    try {
        return std::forward<Body>(body)();
    } catch (const std::exception&) {
        return failure;
    }
}
