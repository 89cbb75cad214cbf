#include "scanner/device/saneoptions.h"

#include "scanner/device/sanecalls.h"
#include <sane/saneopts.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace saneoptions {

namespace {

// A backend with more options than this is not believed.
constexpr int maxOptions = 1024;

int optionCount(SANE_Handle handle)
{
    SANE_Int count = 0;
    if (sanecall::controlOption(handle, 0, SANE_ACTION_GET_VALUE, &count, nullptr) == SANE_STATUS_GOOD && count > 0)
        return qMin(count, maxOptions);
    // Some backends do not answer while a frame is being read: count the
    // descriptors instead.
    count = 1;
    while (count < maxOptions && sane_get_option_descriptor(handle, count))
        ++count;
    return count;
}

bool settable(const SANE_Option_Descriptor* option)
{
    return option && SANE_OPTION_IS_ACTIVE(option->cap) && SANE_OPTION_IS_SETTABLE(option->cap);
}

const SANE_Option_Descriptor* settableOption(SANE_Handle handle, const char* name, int& index)
{
    index = findSettable(handle, name);
    return index < 0 ? nullptr : sane_get_option_descriptor(handle, index);
}

bool isSingleNumber(const SANE_Option_Descriptor* option)
{
    return (option->type == SANE_TYPE_INT || option->type == SANE_TYPE_FIXED)
        && option->size == SANE_Int(sizeof(SANE_Word));
}

double toDouble(const SANE_Option_Descriptor* option, SANE_Word word)
{
    return option->type == SANE_TYPE_FIXED ? SANE_UNFIX(word) : double(word);
}

SANE_Word toWord(const SANE_Option_Descriptor* option, double value)
{
    return option->type == SANE_TYPE_FIXED ? SANE_FIX(value) : SANE_Word(std::lround(value));
}

SANE_Status setWord(SANE_Handle handle, int index, SANE_Word word)
{
    return sanecall::controlOption(handle, index, SANE_ACTION_SET_VALUE, &word, nullptr);
}

bool containsAny(const QByteArray& text, std::initializer_list<const char*> fragments)
{
    const QByteArray lower = text.toLower();
    return std::any_of(fragments.begin(), fragments.end(),
                       [&](const char* fragment) { return lower.contains(fragment); });
}

// The low and high end of a numeric option's range, when it has one.
bool range(const SANE_Option_Descriptor* option, double& low, double& high)
{
    if (option->constraint_type != SANE_CONSTRAINT_RANGE || !option->constraint.range)
        return false;
    low = toDouble(option, option->constraint.range->min);
    high = toDouble(option, option->constraint.range->max);
    return low <= high;
}

} // namespace

int findSettable(SANE_Handle handle, const char* name)
{
    const int count = optionCount(handle);
    for (int i = 1; i < count; ++i) {
        const SANE_Option_Descriptor* option = sane_get_option_descriptor(handle, i);
        if (option && option->name && std::strcmp(option->name, name) == 0)
            return settable(option) ? i : -1;
    }
    return -1;
}

SANE_Status setString(SANE_Handle handle, const char* name, const QByteArray& value)
{
    int index = -1;
    const SANE_Option_Descriptor* option = settableOption(handle, name, index);
    if (!option || option->type != SANE_TYPE_STRING || option->size <= value.size())
        return SANE_STATUS_UNSUPPORTED;
    if (option->constraint_type == SANE_CONSTRAINT_STRING_LIST && !listedValues(handle, name).contains(value))
        return SANE_STATUS_INVAL;
    std::vector<char> buffer(size_t(option->size), '\0');
    std::memcpy(buffer.data(), value.constData(), size_t(value.size()));
    return sanecall::controlOption(handle, index, SANE_ACTION_SET_VALUE, buffer.data(), nullptr);
}

SANE_Status setNumber(SANE_Handle handle, const char* name, double value)
{
    int index = -1;
    const SANE_Option_Descriptor* option = settableOption(handle, name, index);
    if (!option || !isSingleNumber(option))
        return SANE_STATUS_UNSUPPORTED;
    double low = 0;
    double high = 0;
    if (range(option, low, high))
        value = std::clamp(value, low, high);
    return setWord(handle, index, toWord(option, value));
}

SANE_Status setFromText(SANE_Handle handle, const QByteArray& name, const QByteArray& text)
{
    int index = -1;
    const SANE_Option_Descriptor* option = settableOption(handle, name.constData(), index);
    if (!option)
        return SANE_STATUS_UNSUPPORTED;
    bool ok = true;
    switch (option->type) {
    case SANE_TYPE_BOOL: {
        const QByteArray word = text.toLower();
        const bool on = word == "yes" || word == "true" || word == "1";
        if (!on && !(word == "no" || word == "false" || word == "0"))
            return SANE_STATUS_INVAL;
        return setWord(handle, index, on ? SANE_TRUE : SANE_FALSE);
    }
    case SANE_TYPE_INT:
    case SANE_TYPE_FIXED: {
        const double value = text.toDouble(&ok);
        return ok ? setNumber(handle, name.constData(), value) : SANE_STATUS_INVAL;
    }
    case SANE_TYPE_STRING:
        return setString(handle, name.constData(), text);
    case SANE_TYPE_BUTTON:
        return sanecall::controlOption(handle, index, SANE_ACTION_SET_VALUE, nullptr, nullptr);
    default:
        return SANE_STATUS_UNSUPPORTED;
    }
}

QList<QByteArray> listedValues(SANE_Handle handle, const char* name)
{
    QList<QByteArray> values;
    const int index = findSettable(handle, name);
    if (index < 0)
        return values;
    const SANE_Option_Descriptor* option = sane_get_option_descriptor(handle, index);
    if (!option || option->constraint_type != SANE_CONSTRAINT_STRING_LIST || !option->constraint.string_list)
        return values;
    for (const SANE_String_Const* entry = option->constraint.string_list; *entry; ++entry)
        values.append(QByteArray(*entry));
    return values;
}

double numberValue(SANE_Handle handle, const char* name, double fallback)
{
    int index = -1;
    const SANE_Option_Descriptor* option = settableOption(handle, name, index);
    if (!option || !isSingleNumber(option))
        return fallback;
    SANE_Word word = 0;
    if (sanecall::controlOption(handle, index, SANE_ACTION_GET_VALUE, &word, nullptr) != SANE_STATUS_GOOD)
        return fallback;
    return toDouble(option, word);
}

bool offeredValues(SANE_Handle handle, const char* name, OfferedValues& offered)
{
    int index = -1;
    const SANE_Option_Descriptor* option = settableOption(handle, name, index);
    if (!option || !isSingleNumber(option))
        return false;
    offered = OfferedValues();
    if (range(option, offered.low, offered.high)) {
        offered.isRange = true;
        offered.step = toDouble(option, option->constraint.range->quant);
        return true;
    }
    if (option->constraint_type != SANE_CONSTRAINT_WORD_LIST || !option->constraint.word_list)
        return false;
    const SANE_Word* list = option->constraint.word_list;
    // The first word counts the others; a list longer than any device has is not believed.
    for (int i = 1; i <= qMin(int(list[0]), maxOptions); ++i)
        offered.listed.append(toDouble(option, list[i]));
    return !offered.listed.isEmpty();
}

QByteArray chooseSource(const QList<QByteArray>& entries, bool duplex)
{
    auto isFeeder = [](const QByteArray& entry) { return containsAny(entry, {"adf", "feeder", "document"}); };
    auto isDuplex = [](const QByteArray& entry) { return containsAny(entry, {"duplex"}); };
    if (duplex) {
        for (const QByteArray& entry : entries)
            if (isDuplex(entry))
                return entry;
    }
    // A one-sided feeder, its front rather than its back.
    for (const QByteArray& entry : entries)
        if (isFeeder(entry) && !isDuplex(entry) && !containsAny(entry, {"back", "rear"}))
            return entry;
    return QByteArray();
}

SANE_Status setSwitches(SANE_Handle handle, std::initializer_list<const char*> fragments, bool on)
{
    SANE_Status result = SANE_STATUS_UNSUPPORTED;
    const int count = optionCount(handle);
    for (int i = 1; i < count; ++i) {
        const SANE_Option_Descriptor* option = sane_get_option_descriptor(handle, i);
        if (!settable(option) || option->type != SANE_TYPE_BOOL || !option->name
            || !containsAny(QByteArray(option->name), fragments))
            continue;
        const SANE_Status status = setWord(handle, i, on ? SANE_TRUE : SANE_FALSE);
        if (result == SANE_STATUS_UNSUPPORTED || status != SANE_STATUS_GOOD)
            result = status;
    }
    return result;
}

SANE_Status setScanArea(SANE_Handle handle, double widthMm, double heightMm)
{
    struct Edge
    {
        const char* name;
        double low = 0;
        double high = 0;
    };
    Edge edges[] = {{SANE_NAME_SCAN_TL_X}, {SANE_NAME_SCAN_TL_Y}, {SANE_NAME_SCAN_BR_X}, {SANE_NAME_SCAN_BR_Y}};
    for (Edge& edge : edges) {
        int index = -1;
        const SANE_Option_Descriptor* option = settableOption(handle, edge.name, index);
        // An area in pixels would depend on the resolution; only millimetres are set.
        if (!option || !isSingleNumber(option) || option->unit != SANE_UNIT_MM || !range(option, edge.low, edge.high))
            return SANE_STATUS_UNSUPPORTED;
    }
    const double left = edges[0].low;
    const double top = edges[1].low;
    const double right = widthMm > 0 ? left + widthMm : edges[2].high;
    const double bottom = heightMm > 0 ? top + heightMm : edges[3].high;
    const double values[] = {left, top, right, bottom};
    SANE_Status result = SANE_STATUS_GOOD;
    for (int i = 0; i < 4; ++i) {
        const SANE_Status status = setNumber(handle, edges[i].name, values[i]);
        if (status != SANE_STATUS_GOOD)
            result = status;
    }
    return result;
}

} // namespace saneoptions
