// Linked into the suites that scan: their program starts the build's own
// scanner process, with the tests' shims preloaded into it.

#include "scanner/saneconnection.h"
#include "tests/support/scannerprocesses.h"

void scannerprocesses::useScannerProgram(bool abortingRead)
{
    SaneConnection::setScannerProgram(QStringLiteral(TOLLIVAR_SCANNER_PROGRAM),
                                      {QStringLiteral("LD_PRELOAD=") + QString::fromStdString(preloads(abortingRead))});
}

static const bool configured = (scannerprocesses::useScannerProgram(), true);
