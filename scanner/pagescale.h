#pragma once

struct ScannedPage;

// Resamples a page read at `fromDpi` to `toDpi` (area-averaged, so fine
// print stays legible). Nothing happens when the two are within half a dot
// or either is unknown (0).
void scaleToResolution(ScannedPage& page, double fromDpi, double toDpi);
