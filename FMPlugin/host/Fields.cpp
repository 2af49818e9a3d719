// Reading one "|"-separated field of the parameter text and writing the
// result text. Host handles may move when resized, so the inner pointer is
// taken only after the last resize.
#include "Plugin.h"

void GetParameterField(HostHandle parameter, int16_t fieldNumber, uint32_t maxLength,
                       char *destination, uint32_t *length)
{
    int32_t size = gFMExternCallPtr->cGetHandleSize(parameter);
    uint32_t copied = 0;
    if (size > 0 && fieldNumber > 0) {
        const char *text = *parameter;
        uint32_t separators = 0;
        uint32_t wanted = (uint32_t)fieldNumber;
        bool trailByte = false;
        for (int32_t i = 0; i < size && copied <= maxLength; ++i) {
            char b = text[i];
            // In a double-byte code page (Shift-JIS, GBK, Big5) the byte
            // after a lead byte belongs to the same character, whatever its
            // value: it is never a separator. Lead bytes are never below
            // 0x80, so text in ASCII asks nothing of the platform.
            bool separator = b == '|' && !trailByte;
            trailByte = !trailByte && (unsigned char)b >= 0x80 && IsDBCSLeadByte((BYTE)b);
            if (separators + 1 == wanted) {
                if (separator && copied > 0)
                    break;  // the end of the wanted field
                if (!separator)
                    destination[copied++] = b;
            }
            if (separator && copied == 0)
                ++separators;
        }
    }
    *length = copied;
}

void CopyBytes(const void *source, void *destination, uint32_t count)
{
    const char *from = (const char *)source;
    char *to = (char *)destination;
    for (uint32_t i = 0; i < count; ++i)
        to[i] = from[i];
}

void SetResultText(HostHandle result, const char *bytes, uint32_t count)
{
    gFMExternCallPtr->cSetHandleSize(result, (int32_t)count);
    if (gFMExternCallPtr->cMemoryError() != 0)
        return;
    CopyBytes(bytes, *result, count);
}

void SetResultFlag(HostHandle result, bool success)
{
    SetResultText(result, success ? "1" : "0", 1);
}
