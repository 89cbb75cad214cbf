#pragma once

#include "scanner/device/resolution.h"

#include <QByteArray>
#include <QList>

#include <sane/sane.h>

#include <initializer_list>

// Setting a scanner's options by name. Every setter leaves an option alone
// when the device lacks it, has it inactive or read-only, or refuses the
// value, and says so in its status; descriptors are looked up afresh each
// time because setting one option may change the others.
namespace saneoptions {

// The option's number when the device has it active and settable, else -1.
int findSettable(SANE_Handle handle, const char* name);

// A string option; where the device lists its values, only a listed one.
SANE_Status setString(SANE_Handle handle, const char* name, const QByteArray& value);
// A single integer or fixed-point option, clamped into its range.
SANE_Status setNumber(SANE_Handle handle, const char* name, double value);
// Text as the option's type reads it ("yes"/"no", "200", "Gray"): the tests'
// way to set an option of the test backend.
SANE_Status setFromText(SANE_Handle handle, const QByteArray& name, const QByteArray& text);

// The values a string option lists, in the device's order.
QList<QByteArray> listedValues(SANE_Handle handle, const char* name);
// A single numeric option's current value, or `fallback`.
double numberValue(SANE_Handle handle, const char* name, double fallback);

// The values a single numeric option allows; false when the option is
// missing or names neither a range nor a list.
bool offeredValues(SANE_Handle handle, const char* name, OfferedValues& offered);

// The "source" entry for a scan: with duplex, the first entry naming
// duplex, else the first feeder; without, the first one-sided feeder.
// Empty when nothing fits, and the source stays as it is.
QByteArray chooseSource(const QList<QByteArray>& entries, bool duplex);

// Every active boolean option whose name contains one of the fragments is
// switched `on`; SANE_STATUS_UNSUPPORTED when there is none.
SANE_Status setSwitches(SANE_Handle handle, std::initializer_list<const char*> fragments, bool on);

// The scan area from the top-left corner, in millimetres, clamped to the
// device's range; a size of 0 asks for the whole area.
SANE_Status setScanArea(SANE_Handle handle, double widthMm, double heightMm);

} // namespace saneoptions
