#pragma once

struct ScannedPage;

// Resamples a page read at `fromDpi` to `toDpi`: area averaging where it
// shrinks (fine print stays legible), bicubic where it enlarges (edges stay
// smooth rather than stepped). Nothing happens when the two are within
// half a dot or either is unknown (0).
void scaleToResolution(ScannedPage& page, double fromDpi, double toDpi);
