#pragma once

#include "scanner/saneconnection.h"

#include <sane/sane.h>

// The scanners of SANE's device list, in its order, each named by its
// model; the vendor goes in front where the model alone is shared, and the
// device name behind where vendor and model are too, so that no two
// entries read the same. Null entries are skipped; at most 256 are taken.
QList<SaneConnection::Source> namedSources(const SANE_Device* const* devices);
