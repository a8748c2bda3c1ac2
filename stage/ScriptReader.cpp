#include "stage/ScriptReader.h"

#include <locale.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace vg {

ScriptReader::ScriptReader(const char* text, size_t size) : text_(text), size_(text ? size : 0) {}

void ScriptReader::readField() {
    length_ = 0;
    cut_ = false;
    while (position_ < size_) {
        const char c = text_[position_];
        if (c == '\0') {
            position_ = size_;
            break;
        }
        if (c == '\n') break;
        ++position_;
        if (c == ',') break;
        if (c == '\r') continue;
        if (length_ < kMaxFieldLength) {
            field_[length_++] = c;
        } else {
            cut_ = true;
        }
    }
    field_[length_] = '\0';
}

void ScriptReader::skipLine() {
    while (position_ < size_) {
        const char c = text_[position_];
        if (c == '\0') {
            position_ = size_;
            break;
        }
        ++position_;
        if (c == '\n') break;
    }
    length_ = 0;
    cut_ = false;
    field_[0] = '\0';
}

namespace {

// The conversions read numbers the same way in every locale: a game started under a locale with
// a decimal comma must not read "2.5" as 2.
locale_t cLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return locale;
}

long long readLong(const char* field) {
    const locale_t locale = cLocale();
    // strtoll saturates at the limits of long long; the callers clamp further.
    return locale ? strtoll_l(field, nullptr, 10, locale) : std::strtoll(field, nullptr, 10);
}

int32_t clampToInt32(long long value) {
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

}  // namespace

int32_t scriptInteger(const char* field) {
    return clampToInt32(readLong(field));
}

int32_t scriptIntegerField(const char* field) {
    const uint32_t bits = static_cast<uint32_t>(scriptInteger(field));
    return static_cast<int32_t>(bits << 16);
}

int32_t scriptNumberField(const char* field) {
    const locale_t locale = cLocale();
    const double value = locale ? strtod_l(field, nullptr, locale) : std::strtod(field, nullptr);
    if (std::isnan(value)) return 0;
    const double scaled = std::trunc(value * 65536.0);
    if (scaled >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (scaled <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(scaled);
}

}  // namespace vg
