#pragma once

#include <cstddef>
#include <cstdint>

namespace vg {

// Reads a stage script field by field. Fields are split on ',' and on the end of the line only;
// blanks and tabs stay inside a field. Every '\r' is dropped wherever it stands, and a NUL byte
// ends the text. A field keeps at most kMaxFieldLength characters: the rest of a longer one is
// consumed up to its separator and dropped, so a long comment line never overruns the buffer.
class ScriptReader {
  public:
    static constexpr int kMaxFieldLength = 63;

    ScriptReader(const char* text, size_t size);

    // Reads the next field into field(): up to a ',' (consumed), a '\n' (not consumed, so every
    // later readField on the same line yields an empty field), the end of the text or a NUL
    // (after which the reader is at the end).
    void readField();
    // Moves past the next '\n' (or to the end, stopping at a NUL as readField does) and empties
    // the field.
    void skipLine();

    bool atEnd() const { return position_ >= size_; }
    // The last field read, NUL-terminated.
    const char* field() const { return field_; }
    int fieldLength() const { return length_; }
    // The last field read was longer than kMaxFieldLength and was cut.
    bool fieldCut() const { return cut_; }

  private:
    const char* text_;
    size_t size_;
    size_t position_ = 0;
    char field_[kMaxFieldLength + 1] = {};
    int length_ = 0;
    bool cut_ = false;
};

// Field conversions, as the C library's atoi and atof read them (leading white space skipped,
// an optional sign, then as many digits as there are; anything else gives 0), in the "C" locale
// whatever the process's locale, and without undefined behaviour for any text:

// A plain integer (the event time): clamped to the 32-bit range.
int32_t scriptInteger(const char* field);
// An IntegerField: the integer clamped to 32 bits, then shifted left by 16 as an unsigned word.
// Its users read back the upper 16 bits, so values wrap to -32768..32767 as the format says.
int32_t scriptIntegerField(const char* field);
// A NumberField: the number times 65536, truncated toward zero and clamped to the 32-bit
// range; NaN gives 0.
int32_t scriptNumberField(const char* field);

}  // namespace vg
