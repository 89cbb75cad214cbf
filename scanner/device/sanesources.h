#pragma once

#include "scanner/protocol/scanprotocol.h"

#include <sane/sane.h>

// The scanners of SANE's device list, in its order, each named by its
// model; the vendor goes in front where the model alone is shared, and the
// device name behind where vendor and model are too, so that no two
// entries read the same. Null entries are skipped; at most 256 are taken, and
// each name the backend gives is cut at 512 bytes.
QList<scanprotocol::Source> namedSources(const SANE_Device* const* devices);
