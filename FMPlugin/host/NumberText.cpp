// Decimal text for window coordinates: no locale, no separators, no plus
// sign; a coordinate is limited to 16000 either way.
#include "Plugin.h"

static const int32_t kCoordinateLimit = 16000;

uint32_t IntPower(uint32_t base, uint32_t exponent)
{
    if (exponent == 0 || exponent >= 100)
        return 1;
    uint32_t value = base;
    for (uint32_t step = 1; step < exponent; ++step)
        value *= base;
    return value;
}

// Writes value as 1 to 10 digits without sign or leading zeros; destination
// needs room for 10 bytes.
void FormatDecimal(uint32_t value, char *destination, uint8_t *length)
{
    uint8_t count = 1;
    for (uint64_t bound = 10; count < 10 && value >= bound; bound *= 10)
        ++count;

    uint32_t remaining = value;
    for (uint8_t k = count; k >= 1; --k) {
        uint32_t place = IntPower(10, k - 1);
        uint32_t digit = remaining / place;
        destination[count - k] = (char)('0' + digit);
        remaining -= digit * place;
    }
    *length = count;
}

// Reads five characters, c1 leftmost. A "-" anywhere makes the value negative
// and takes no place: the other characters, right-aligned, are the places,
// and a character that is not a digit counts for nothing at its place.
int32_t ParseCoordinate(char c1, char c2, char c3, char c4, char c5)
{
    const char chars[5] = {c1, c2, c3, c4, c5};
    bool negative = false;
    int32_t value = 0;
    int32_t place = 1;
    for (int i = 4; i >= 0; --i) {
        char c = chars[i];
        if (c == '-') {
            negative = true;
            continue;
        }
        if (c >= '0' && c <= '9')
            value += (c - '0') * place;
        place *= 10;
    }
    if (value > kCoordinateLimit)
        value = kCoordinateLimit;
    return negative ? -value : value;
}

int32_t LimitCoordinate(int32_t value)
{
    if (value > kCoordinateLimit)
        return kCoordinateLimit;
    return value < -kCoordinateLimit ? -kCoordinateLimit : value;
}
