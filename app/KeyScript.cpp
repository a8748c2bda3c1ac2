#include "app/KeyScript.h"

#include "input/KeyNames.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <utility>

namespace vg {

namespace {

constexpr uint32_t kMaxFrame = 100'000'000;
constexpr size_t kMaxRanges = 1'000'000;

// Spellings the key name table does not use but scripts may.
struct KeyAlias {
    std::string_view name;
    int code;
};
constexpr KeyAlias kAliases[] = {{"ESCAPE", 0x1B}, {"RETURN", 0x0D}, {"BACK", 0x08}};

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

bool parseNumber(std::string_view text, uint32_t& value) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    if (text.empty()) return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return ec == std::errc() && end == text.data() + text.size();
}

std::vector<std::string_view> words(std::string_view line) {
    std::vector<std::string_view> out;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i]))) ++i;
        size_t j = i;
        while (j < line.size() && !std::isspace(static_cast<unsigned char>(line[j]))) ++j;
        if (j > i) out.push_back(line.substr(i, j - i));
        i = j;
    }
    return out;
}

}  // namespace

int KeyScript::keyCode(std::string_view name) {
    // The names the key configuration shows ("Left", "Esc", "F10", "Z" ...), in any case.
    for (int code = 1; code < kKeyNameCount; ++code) {
        const char* known = keyNameTable[static_cast<size_t>(code)];
        if (known && *known && equalsIgnoringCase(name, known)) return code;
    }
    for (const KeyAlias& alias : kAliases) {
        if (equalsIgnoringCase(name, alias.name)) return alias.code;
    }
    uint32_t code = 0;
    if (parseNumber(name, code) && code >= 1 && code <= 255) return static_cast<int>(code);
    return 0;
}

bool KeyScript::parse(std::string_view text, std::string* error) {
    ranges_.clear();
    std::vector<Range> ranges;
    size_t lineNumber = 0;
    auto fail = [&](const std::string& why) {
        if (error) *error = "line " + std::to_string(lineNumber) + ": " + why;
        return false;
    };
    while (!text.empty()) {
        ++lineNumber;
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (const size_t hash = line.find('#'); hash != std::string_view::npos) {
            line = line.substr(0, hash);
        }
        const auto parts = words(line);
        if (parts.empty()) continue;
        if (ranges.size() >= kMaxRanges) return fail("too many lines");

        Range range{};
        const std::string_view frames = parts[0];
        const size_t dash = frames.find('-');
        if (!parseNumber(frames.substr(0, dash), range.first)) return fail("bad frame number");
        range.last = range.first;
        if (dash != std::string_view::npos && !parseNumber(frames.substr(dash + 1), range.last)) {
            return fail("bad frame range");
        }
        if (range.last < range.first || range.last > kMaxFrame) return fail("bad frame range");
        for (size_t i = 1; i < parts.size(); ++i) {
            const int code = keyCode(parts[i]);
            if (code == 0) return fail("unknown key '" + std::string(parts[i]) + "'");
            range.keys.push_back(static_cast<uint8_t>(code));
        }
        ranges.push_back(std::move(range));
    }
    ranges_ = std::move(ranges);
    return true;
}

KeySnapshot KeyScript::frame(uint32_t frame) const {
    KeySnapshot keys{};
    for (const Range& range : ranges_) {
        if (frame < range.first || frame > range.last) continue;
        for (uint8_t code : range.keys) keys[code] = kKeyDownBit;
    }
    return keys;
}

uint32_t KeyScript::length() const {
    uint32_t end = 0;
    for (const Range& range : ranges_) end = std::max(end, range.last + 1);
    return end;
}

}  // namespace vg
