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

namespace errorguard {

// Runs the body; an exception of type Caught becomes `failure` and, with a
// label, one record.
template <typename Caught, typename Result, typename Body>
Result run(const char* label, int level, Result failure, Body&& body)
{
    try {
        return std::forward<Body>(body)();
    } catch (const Caught& e) {
        if (label)
            fileLogger(level) << label << e.what();
        return failure;
    }
}

} // namespace errorguard

// Only errors of the image library (cv::Exception).
template <typename Result, typename Body>
Result guardImageLibrary(const char* label, int level, Result failure, Body&& body)
{
    return errorguard::run<cv::Exception>(label, level, failure, std::forward<Body>(body));
}

// Any standard exception, image library errors included.
template <typename Result, typename Body>
Result guardStandard(const char* label, int level, Result failure, Body&& body)
{
    return errorguard::run<std::exception>(label, level, failure, std::forward<Body>(body));
}

// Image library errors first, then any other standard exception, both
// logged the same way; cv::Exception is a standard exception, so one
// handler serves both.
template <typename Result, typename Body>
Result guardImageLibraryThenStandard(const char* label, int level, Result failure, Body&& body)
{
    return guardStandard(label, level, failure, std::forward<Body>(body));
}

// The same frames without a record.
template <typename Result, typename Body>
Result guardImageLibrarySilently(Result failure, Body&& body)
{
    return errorguard::run<cv::Exception>(nullptr, 0, failure, std::forward<Body>(body));
}

template <typename Result, typename Body>
Result guardStandardSilently(Result failure, Body&& body)
{
    return errorguard::run<std::exception>(nullptr, 0, failure, std::forward<Body>(body));
}
