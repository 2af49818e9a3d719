/* The dialog templates of the dialog tests (DialogsTest.cpp): the resource
   script builds them for Windows, and the test defines the same controls for
   the stand-in. Every template is a dialog as the stand-in makes one: 154 by
   140 units at 7, 7 in an 8-point font, a caption with a window menu and a
   modal frame. Each control is its text, id, class, style and the line it
   takes, in dialog units from the top. */
#ifndef TESTS_CONFORMANCE_DIALOGSTEST_H
#define TESTS_CONFORMANCE_DIALOGSTEST_H

#define IDD_FULL 100
#define IDD_DISABLED_CANCEL 101
#define IDD_PICTURE 102
#define IDD_BROKEN 103
#define IDD_EMPTY 104

#define IDC_PICTURE 10
#define IDC_TEXT 11
#define IDC_OTHER 12
#define IDC_BROKEN 13

#define PICTURE_CONTROL(X) X("", IDC_PICTURE, "Static", WS_CHILD | WS_VISIBLE, 7)
#define TEXT_CONTROL(X) \
    X("start", IDC_TEXT, "Edit", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 27)
#define OK_CONTROL(X) X("OK", IDOK, "Button", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, 47)
#define OTHER_CONTROL(X) X("Other", IDC_OTHER, "Button", WS_CHILD | WS_VISIBLE, 67)

/* A picture, the text, OK, another button and Cancel. */
#define FULL_DIALOG(X) \
    PICTURE_CONTROL(X) \
    TEXT_CONTROL(X)    \
    OK_CONTROL(X) OTHER_CONTROL(X) X("Cancel", IDCANCEL, "Button", WS_CHILD | WS_VISIBLE, 87)
/* The same with Cancel disabled. */
#define DISABLED_CANCEL_DIALOG(X) \
    PICTURE_CONTROL(X)            \
    TEXT_CONTROL(X)               \
    OK_CONTROL(X)                 \
    OTHER_CONTROL(X) X("Cancel", IDCANCEL, "Button", WS_CHILD | WS_VISIBLE | WS_DISABLED, 87)
/* The picture alone: no tab stop, no Cancel. */
#define PICTURE_DIALOG(X) PICTURE_CONTROL(X)
/* No control at all. */
#define EMPTY_DIALOG(X)
/* A control of a class that no one registered. */
#define BROKEN_DIALOG(X) \
    PICTURE_CONTROL(X) X("", IDC_BROKEN, "ConformanceNoSuchClass", WS_CHILD | WS_VISIBLE, 27)

#endif
