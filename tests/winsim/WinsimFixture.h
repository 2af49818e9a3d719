// A fresh simulated desktop for every test, with helpers to make windows.
#ifndef TESTS_WINSIM_WINSIMFIXTURE_H
#define TESTS_WINSIM_WINSIMFIXTURE_H

#include <gtest/gtest.h>
#include <winsim.h>

#include <ostream>
#include <string>
#include <vector>

#include "../common/RectOps.h"

namespace winsim_test {

inline HINSTANCE Instance()
{
    return reinterpret_cast<HINSTANCE>(0x400000);
}

inline RECT Rect(LONG left, LONG top, LONG right, LONG bottom)
{
    return {left, top, right, bottom};
}

// The "Probe" class's procedure: WM_CREATE, WM_SIZE and WM_MOVE are its own,
// every other message goes to DefWindowProcA, so that making a pop-up logs
// one call of it.
LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

class WinsimTest : public ::testing::Test {
protected:
    void SetUp() override;

    // A window of the "Probe" class, made quietly.
    static HWND Make(const char *title, DWORD style, int x = 10, int y = 20, int width = 300,
                     int height = 200, HWND parent = NULL, DWORD exStyle = 0, HMENU menu = NULL);
};

}  // namespace winsim_test

#endif
