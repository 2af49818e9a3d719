// Rectangles compare and print in test messages. RECT lives in the global
// namespace, so its operators do too.
#ifndef TESTS_COMMON_RECTOPS_H
#define TESTS_COMMON_RECTOPS_H

#include <windows.h>

#include <ostream>

inline bool operator==(const RECT &a, const RECT &b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

inline std::ostream &operator<<(std::ostream &out, const RECT &r)
{
    return out << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
}

#endif
