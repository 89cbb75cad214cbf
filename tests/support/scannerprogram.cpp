// Linked into the suites that scan: their program starts the build's own
// scanner process, with the tests' shim preloaded into it.

#include "scanner/saneconnection.h"
#include "tests/support/scannerprocesses.h"

namespace {

const bool configured = [] {
    SaneConnection::setScannerProgram(QStringLiteral(TOLLIVAR_SCANNER_PROGRAM), scannerprocesses::environment());
    return true;
}();

} // namespace
